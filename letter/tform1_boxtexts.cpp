// The box text files: loaded at start-up, saved at close.

#include "shell/tform1.h"

#include "letter/boxmemo.h"
#include "letter/boxtextfile.h"
#include "platform/errorreport.h"

#include <QLineEdit>

bool TForm1::LoadBoxTexts()
{
    // A file that cannot be read is reported and its box keeps its text;
    // the other boxes still load.
    bool allRead = true;
    for (int box : boxtextfile::kTextBoxes)
        allRead = LoadBoxText(box) && allRead;
    return allRead;
}

bool TForm1::LoadBoxText(int box)
{
    const boxtextfile::LoadResult loaded =
        boxtextfile::loadBoxText(boxtextfile::filePath(programDir, box));
    if (!loaded.exists)
        return true;
    if (!loaded.ok) {
        errorreport::show(loaded.errorMessage);
        return false;
    }
    memos[box]->setText(loaded.text);
    return true;
}

bool TForm1::SaveBoxTexts()
{
    for (int box : boxtextfile::kTextBoxes) {
        const QString text = memos[box]->text();
        if (box == boxtable::kAddresseeBox &&
            !boxtextfile::shouldSaveAddressee(storedMode, text, Edit2->text()))
            continue;
        QString error;
        if (!boxtextfile::saveBoxText(boxtextfile::filePath(programDir, box), text, &error)) {
            errorreport::show(error);
            return false;
        }
    }
    return true;
}
