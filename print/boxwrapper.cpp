#include "print/boxwrapper.h"

#include "letter/boxmemo.h"
#include "print/displaylines.h"

BoxWrapper::BoxWrapper(const BoxMemo *box)
    : m_scratch(std::make_unique<BoxMemo>(nullptr, box ? box->objectName() : QString()))
{
    m_scratch->setAttribute(Qt::WA_DontShowOnScreen);
    if (!box)
        return;
    // The box inherits what it does not set from the window; the scratch
    // area has no window, so every attribute of the box's font is fixed.
    QFont font = box->font();
    font.setResolveMask(QFont::AllPropertiesResolved);
    m_scratch->setFont(font);
    m_scratch->setLineWrapMode(box->lineWrapMode());
    m_scratch->setWordWrapMode(box->wordWrapMode());
    m_scratch->resize(box->size());
}

BoxWrapper::~BoxWrapper() = default;

QStringList BoxWrapper::lines(const QString &text)
{
    m_scratch->setText(text);
    return displayLines(m_scratch.get());
}
