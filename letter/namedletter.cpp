// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/namedletter.h"

#include "letter/boxtable.h"
#include "letter/boxtextfile.h"
#include "letter/lettermodel.h"
#include "letter/settingsfile.h"
#include "platform/cp932.h"
#include "platform/pdffiles.h"
#include "platform/profilefile.h"

#include <QStringConverter>

namespace {

const QString kLetterSection = QStringLiteral("Letter");
const QString kAttachmentsSection = QStringLiteral("添付ファイル");
const QString kLayoutPrefix = QStringLiteral("Layout");

// "1本文" for box index 0: the box text file's name without ".txt".
QString textSection(int box)
{
    return boxtextfile::fileName(box).chopped(4);
}

int boxOfTextSection(QStringView section)
{
    for (int box : boxtextfile::kTextBoxes) {
        if (section == textSection(box))
            return box;
    }
    return -1;
}

// The box keys, without the window position: where the window stands is
// the user's, not the letter's.
QStringList layoutKeys()
{
    QStringList keys;
    for (int box = 0; box < boxtable::kBoxCount; ++box) {
        for (settingsfile::BoxKey key : settingsfile::kBoxKeyOrder)
            keys.append(settingsfile::boxKey(box, key));
    }
    return keys;
}

int heightClassOf(const LetterModel &letter)
{
    return settingsfile::heightClass(letter.screen().height);
}

} // namespace

QByteArray NamedLetter::toBytes() const
{
    QString out;
    out += QLatin1Char('[') + kLetterSection + QStringLiteral("]\n");
    out += datestyle::kKey + QLatin1Char('=') + datestyle::name(dateStyle) + QLatin1Char('\n');
    for (auto layout = layouts.cbegin(); layout != layouts.cend(); ++layout) {
        out += QLatin1Char('[') + kLayoutPrefix + QString::number(layout.key()) +
               QStringLiteral("]\n");
        for (const auto &[key, value] : layout.value())
            out += key + QLatin1Char('=') + value + QLatin1Char('\n');
    }
    for (auto text = texts.cbegin(); text != texts.cend(); ++text) {
        out += QLatin1Char('[') + textSection(text.key()) + QStringLiteral("]\n");
        // split() rather than splitLines(): a final break is a last, empty line.
        for (const QString &line : text.value().split(QStringLiteral("\r\n")))
            out += QLatin1Char('|') + line + QLatin1Char('\n');
    }
    if (!attachments.isEmpty()) {
        out += QLatin1Char('[') + kAttachmentsSection + QStringLiteral("]\n");
        for (const QString &path : attachments)
            out += QLatin1Char('|') + path + QLatin1Char('\n');
    }
    return out.toUtf8();
}

Result<NamedLetter> NamedLetter::fromBytes(const QByteArray &bytes)
{
    if (bytes.size() > kMaxFileSize)
        return fail(QStringLiteral("%1 MiB より大きいファイルです").arg(kMaxFileSize >> 20));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString content = utf8.decode(bytes);
    if (utf8.hasError())
        return fail(QStringLiteral("UTF-8 ではありません"));

    NamedLetter letter;
    const QStringList keys = layoutKeys();
    bool isLetter = false;
    enum { Other, Head, Layout, Text, Attachments } in = Other;
    int current = -1; // the height class or the box of the section
    QMap<int, QStringList> textLines;
    QStringList lines = content.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1Char('|'))) {
            if (in == Text)
                textLines[current].append(line.mid(1));
            else if (in == Attachments && !line.mid(1).trimmed().isEmpty())
                letter.attachments.append(line.mid(1).trimmed());
            continue;
        }
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString section = line.mid(1, line.size() - 2);
            bool isNumber = false;
            in = Other;
            if (section.compare(kLetterSection, Qt::CaseInsensitive) == 0) {
                in = Head;
                isLetter = true;
            } else if (section == kAttachmentsSection) {
                in = Attachments;
                letter.attachments.clear();
            } else if (section.startsWith(kLayoutPrefix, Qt::CaseInsensitive)) {
                current = section.mid(kLayoutPrefix.size()).toInt(&isNumber);
                if (isNumber && current > 0) {
                    in = Layout;
                    letter.layouts[current];
                }
            } else if ((current = boxOfTextSection(section)) >= 0) {
                in = Text;
                textLines[current].clear();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue; // blank lines, comments
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (in == Head && key.compare(datestyle::kKey, Qt::CaseInsensitive) == 0) {
            const std::optional<datestyle::Style> style = datestyle::fromName(value);
            if (!style)
                return fail(QStringLiteral("%1 の値「%2」は西暦でも和暦でもありません")
                                .arg(datestyle::kKey, value));
            letter.dateStyle = *style;
        } else if (in == Layout) {
            for (const QString &known : keys) {
                if (key.compare(known, Qt::CaseInsensitive) == 0)
                    letter.layouts[current].append({known, value});
            }
        }
    }
    if (!isLetter)
        return fail(QStringLiteral("[%1] の節がありません").arg(kLetterSection));
    // A text section without any line is an empty text, as is one "|".
    for (auto text = textLines.cbegin(); text != textLines.cend(); ++text)
        letter.texts.insert(text.key(), text.value().join(QStringLiteral("\r\n")));
    return letter;
}

NamedLetter NamedLetter::capture(const LetterModel &letter, NamedLetter kept)
{
    kept.dateStyle = letter.dateStyle();
    // The settings file's own writer gives each value its exact form.
    ProfileFile written = ProfileFile::fromBytes(QByteArray());
    for (int box = 0; box < boxtable::kBoxCount; ++box)
        letter.WriteBoxLayout(written, box);
    Keys &layout = kept.layouts[heightClassOf(letter)];
    layout.clear();
    for (const QString &key : layoutKeys())
        layout.append({key, written.value(letter.settingsSection(), key).value_or(QString())});

    kept.attachments = letter.attachments();
    kept.texts.clear();
    for (int box : boxtextfile::kTextBoxes) {
        if (box == boxtable::kAddresseeBox && !letter.savesAddressee())
            continue;
        kept.texts.insert(box, letter.box(box).text);
    }
    return kept;
}

void NamedLetter::applyTo(LetterModel &letter, const QDate &today) const
{
    for (auto text = texts.cbegin(); text != texts.cend(); ++text)
        letter.setText(text.key(), text.value());
    letter.setDateStyle(dateStyle, today);
    // The letter's own documents go with it, none for a letter without.
    int pages = 0;
    for (const QString &path : attachments) {
        if (const Result<int> counted = pdffiles::pageCount(path))
            pages += *counted;
    }
    letter.setAttachments(attachments, pages);

    const auto layout = layouts.constFind(heightClassOf(letter));
    if (layout == layouts.cend())
        return; // kept on another screen: the boxes stay where they are here
    // Read by the settings file's rules, so a damaged value takes its
    // default exactly as it would there.
    ProfileFile settings = ProfileFile::fromBytes(QByteArray());
    for (const auto &[key, value] : *layout)
        settings.setValue(letter.settingsSection(), key, value);
    for (int box = 0; box < boxtable::kBoxCount; ++box)
        letter.ReadBoxLayout(settings, box);
}
