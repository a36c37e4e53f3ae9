// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/lettermodel.h"

#include "letter/attachmentfile.h"
#include "letter/boxtextfile.h"
#include "letter/boxwrap.h"
#include "letter/firstrunlayout.h"
#include "letter/fontsize.h"
#include "letter/lettertexts.h"
#include "letter/settingsfile.h"
#include "platform/atomicfile.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "platform/fontsubstitution.h"
#include "platform/pdffiles.h"
#include "platform/profilefile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {
using settingsfile::BoxKey;

// Values past these make no sense on any screen and would overflow Qt's
// geometry arithmetic; what lies within is applied as read.
constexpr int kMaxCoordinate = 1000000;
constexpr int kMaxWindowCoordinate = 30000; // X11 keeps window positions in 16 bits

// The face and character height every memo has in the form.
const QString kFormFace = QStringLiteral("ＭＳ Ｐ明朝");
constexpr int kFormPixelHeight = 15;

// A face name is applied as at most 31 bytes of code page 932, cut at a
// whole character.
QString faceNameAsApplied(const QString &name)
{
    if (cp932::encode(name).size() <= 31)
        return name;
    QString cut;
    for (qsizetype i = 0; i < name.size(); ++i) {
        qsizetype len = name[i].isHighSurrogate() && i + 1 < name.size() ? 2 : 1;
        const QString next = cut + name.mid(i, len);
        if (cp932::encode(next).size() > 31)
            break;
        cut = next;
        i += len - 1;
    }
    return cut;
}
} // namespace

LetterModel::LetterModel(const QString &programDir, const QString &executableName,
                         const ScreenMetrics &screen)
    : m_programDir(programDir), m_executableName(executableName), m_screen(screen)
{
    m_section = settingsfile::sectionName(executableName);
    // Each class of screen height keeps a layout of its own.
    m_settingsFile = settingsfile::filePath(programDir, executableName, screen.height);
    m_firstRun = !QFile::exists(m_settingsFile);
    m_page = PageGeometry::forScreenHeight(screen.height);
    for (int box = 0; box < boxtable::kBoxCount; ++box) {
        m_boxes[box].frame = boxtable::box(box).design;
        m_boxes[box].face = kFormFace;
        m_boxes[box].pixelHeight = kFormPixelHeight;
    }
}

QString LetterModel::programDirectoryOf(const QString &executablePath)
{
    QString dir = QFileInfo(executablePath).absolutePath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

// ---- loading --------------------------------------------------------------

void LetterModel::load(const QDate &today, QStringList *errors)
{
    // Start-up reads the file once for all its values. One that cannot be
    // read gives every value its default (and the close will not write over
    // it).
    const Result<ProfileFile> read = ProfileFile::load(m_settingsFile);
    const ProfileFile settings = read ? *read : ProfileFile();
    ReadWindowPos(settings);
    // A box text file that cannot be read is reported, and that box keeps
    // its text; the rest still loads, so the stored (or first-run) layout is
    // still applied and the next close cannot overwrite it with the design
    // rectangles.
    LoadBoxTexts(errors);
    loadAttachments(errors);
    // Box D has no text file; its text is today's date, in the letter's style.
    setDateStyle(datestyle::fromName(settings.readString(m_section, datestyle::kKey, QString()))
                     .value_or(datestyle::Style::Western),
                 today);
    if (m_firstRun) {
        applyFirstRunLayout(today);
    } else {
        for (int box = 0; box < boxtable::kBoxCount; ++box)
            ReadBoxLayout(settings, box);
    }
}

void LetterModel::ReadWindowPos(const ProfileFile &settings)
{
    const int left =
        settings.readInt(m_section, settingsfile::kFormLeft, settingsfile::kDefaultFormLeft);
    const int top =
        settings.readInt(m_section, settingsfile::kFormTop, settingsfile::kDefaultFormTop);
    m_storedWindowPos = QPoint(left, top);
    m_windowPos = QPoint(std::clamp(left, -kMaxWindowCoordinate, kMaxWindowCoordinate),
                         std::clamp(top, -kMaxWindowCoordinate, kMaxWindowCoordinate));
}

void LetterModel::ReadBoxLayout(const ProfileFile &settings, int box)
{
    auto key = [box](BoxKey k) { return settingsfile::boxKey(box, k); };
    Box &b = m_boxes[box];

    const QString face =
        settings.readString(m_section, key(BoxKey::FontName), settingsfile::defaultFontName());
    if (!face.isEmpty())
        b.face = faceNameAsApplied(face);
    setPoints(box,
              settings.readInt(m_section, key(BoxKey::FontSize), settingsfile::kDefaultFontSize));

    // Each geometry value defaults to what the frame has when it is read.
    auto read = [&](BoxKey k, int current, int low) {
        return std::clamp(settings.readInt(m_section, key(k), current), low, kMaxCoordinate);
    };
    QRect &r = b.frame;
    r.moveLeft(read(BoxKey::Left, r.left(), -kMaxCoordinate));
    r.moveTop(read(BoxKey::Top, r.top(), -kMaxCoordinate));
    r.setWidth(read(BoxKey::Width, r.width(), 0));
    r.setHeight(read(BoxKey::Height, r.height(), 0));
}

bool LetterModel::LoadBoxTexts(QStringList *errors)
{
    bool allRead = true;
    for (int box : boxtextfile::kTextBoxes) {
        const Result<void> loaded = LoadBoxText(box);
        if (!loaded) {
            allRead = false;
            if (errors)
                errors->append(loaded.error());
        }
    }
    return allRead;
}

Result<void> LetterModel::LoadBoxText(int box)
{
    const Result<std::optional<QString>> loaded =
        boxtextfile::loadBoxText(boxtextfile::filePath(m_programDir, box));
    if (!loaded)
        return loaded.failure();
    if (*loaded)
        setText(box, **loaded);
    return {};
}

void LetterModel::applyFirstRunLayout(const QDate &today)
{
    std::array<QRect, boxtable::kBoxCount> current;
    for (int box = 0; box < boxtable::kBoxCount; ++box)
        current[box] = m_boxes[box].frame;
    const FirstRunLayout layout = FirstRunLayout::compute(m_page, current);
    for (int box = 0; box < boxtable::kBoxCount; ++box)
        setPoints(box, layout.fontPoints[box]);
    setText(boxtable::kNotesBox, lettertexts::monthlyReportHeading(today));
    for (int box = 0; box < boxtable::kBoxCount; ++box)
        m_boxes[box].frame = layout.frames[box];
}

// ---- the boxes ------------------------------------------------------------

void LetterModel::setText(int box, const QString &text)
{
    m_boxes[box].text = cp932::normalizeLineBreaks(cp932::representable(text));
}

void LetterModel::setDateStyle(datestyle::Style style, const QDate &today)
{
    m_dateStyle = style;
    setText(boxtable::kIssueDateBox, datestyle::format(today, style));
}

void LetterModel::setFrame(int box, const QRect &frame)
{
    m_boxes[box].frame = frame;
}

void LetterModel::setFace(int box, const QString &face)
{
    m_boxes[box].face = face;
}

void LetterModel::setPixelHeight(int box, int pixels)
{
    m_boxes[box].pixelHeight = std::max(1, pixels);
}

int LetterModel::points(int box) const
{
    return fontsize::pointsFromPixelHeight(m_boxes[box].pixelHeight, m_screen.pixelsPerInch);
}

void LetterModel::setPoints(int box, int points)
{
    const int held = std::clamp(points, 1, 400);
    setPixelHeight(box, fontsize::pixelHeightFromPoints(held, m_screen.pixelsPerInch));
}

QFont LetterModel::font(int box) const
{
    // Every attribute is the box's own: nothing comes from a window.
    QFont f(fontsubstitution::drawnFamily(m_boxes[box].face));
    f.setPixelSize(m_boxes[box].pixelHeight);
    f.setResolveMask(QFont::AllPropertiesResolved);
    return f;
}

QFont LetterModel::faceFont(int box) const
{
    QFont f = font(box);
    f.setFamily(m_boxes[box].face);
    return f;
}

QPoint LetterModel::textOrigin(int box) const
{
    const int rim = m_page.borderWidth;
    return m_boxes[box].frame.topLeft() + QPoint(rim, rim);
}

int LetterModel::textWidth(int box) const
{
    return std::max(0, m_boxes[box].frame.width() - 2 * m_page.borderWidth);
}

QString LetterModel::printedText(int box) const
{
    const QString text = letterfields::fillPageCount(
        datestyle::fillDateField(m_boxes[box].text, Clock::today(), m_dateStyle), sentPages());
    if (!letterfields::hasFields(text))
        return text;
    // A filled cell is taken as if it had been typed there.
    return cp932::normalizeLineBreaks(cp932::representable(letterfields::fill(text, customer())));
}

QStringList LetterModel::displayLines(int box) const
{
    return wrap(box, printedText(box));
}

QStringList LetterModel::wrap(int box, const QString &text) const
{
    return boxwrap::lines(text, font(box), textWidth(box));
}

// ---- saving ---------------------------------------------------------------

void LetterModel::WriteWindowPos(ProfileFile &settings) const
{
    const QPoint at = m_windowPositionKnown ? m_windowPos : m_storedWindowPos;
    settings.setInt(m_section, settingsfile::kFormTop, at.y());
    settings.setInt(m_section, settingsfile::kFormLeft, at.x());
}

void LetterModel::WriteBoxLayout(ProfileFile &settings, int box) const
{
    auto key = [box](BoxKey k) { return settingsfile::boxKey(box, k); };
    const Box &b = m_boxes[box];
    settings.setValue(m_section, key(BoxKey::FontName), b.face);
    settings.setInt(m_section, key(BoxKey::FontSize), points(box));
    settings.setInt(m_section, key(BoxKey::Left), b.frame.left());
    settings.setInt(m_section, key(BoxKey::Top), b.frame.top());
    settings.setInt(m_section, key(BoxKey::Width), b.frame.width());
    settings.setInt(m_section, key(BoxKey::Height), b.frame.height());
}

Result<ProfileFile> LetterModel::settingsAsClosed() const
{
    // The close never writes over a settings file it could not read: its
    // other content would be lost.
    Result<ProfileFile> settings = ProfileFile::load(m_settingsFile);
    if (!settings)
        return settings;
    WriteWindowPos(settings.value());
    for (int box = 0; box < boxtable::kBoxCount; ++box)
        WriteBoxLayout(settings.value(), box);
    WriteDateStyle(settings.value());
    return settings;
}

void LetterModel::WriteDateStyle(ProfileFile &settings) const
{
    if (m_dateStyle != datestyle::Style::Western || settings.value(m_section, datestyle::kKey))
        settings.setValue(m_section, datestyle::kKey, datestyle::name(m_dateStyle));
}

QList<int> LetterModel::textBoxesSaved() const
{
    QList<int> boxes;
    for (int box : boxtextfile::kTextBoxes) {
        if (box != boxtable::kAddresseeBox || savesAddressee())
            boxes.append(box);
    }
    return boxes;
}

Result<void> LetterModel::saveLayout() const
{
    // All keys go to disk in one atomic replace: a failure leaves the old
    // file whole and is reported as the write error of the settings file,
    // as is a file that cannot be read.
    const Result<ProfileFile> settings = settingsAsClosed();
    if (!settings)
        return fail(settingsfile::writeErrorMessage(m_settingsFile));
    return settingsfile::save(*settings);
}

bool LetterModel::savesAddressee() const
{
    return boxtextfile::shouldSaveAddressee(static_cast<int>(m_storedMode),
                                            m_boxes[boxtable::kAddresseeBox].text, m_handOffMarker);
}

Result<void> LetterModel::saveTexts() const
{
    for (int box : textBoxesSaved()) {
        const Result<void> saved =
            boxtextfile::saveBoxText(boxtextfile::filePath(m_programDir, box), m_boxes[box].text);
        if (!saved)
            return saved;
    }
    if (savesAttachments()) {
        const QString path = attachmentfile::filePath(m_programDir);
        const Result<void> saved = atomicfile::write(path, attachmentfile::encode(m_attachments));
        if (!saved)
            return fail(boxtextfile::createErrorMessage(path, saved.error()));
    }
    return {};
}

bool LetterModel::savesAttachments() const
{
    return !m_attachments.isEmpty() || m_attachmentFileFound;
}

void LetterModel::loadAttachments(QStringList *errors)
{
    const Result<QStringList> paths = attachmentfile::load(m_programDir);
    if (!paths) {
        if (errors)
            errors->append(paths.error());
        return;
    }
    m_attachmentFileFound = QFile::exists(attachmentfile::filePath(m_programDir));
    // A file that can no longer be read counts no pages until it is mended;
    // the letter refuses to go out with it.
    int pages = 0;
    for (const QString &path : *paths) {
        if (const Result<int> counted = pdffiles::pageCount(path))
            pages += *counted;
    }
    setAttachments(*paths, pages);
}

void LetterModel::setAttachments(const QStringList &paths, int attachedPages)
{
    m_attachments = paths;
    m_attachedPages = std::max(0, attachedPages);
}

recoverycopy::Files LetterModel::closeFiles() const
{
    recoverycopy::Files files;
    auto relative = [this](const QString &path) { return path.mid(m_programDir.size()); };
    if (const Result<ProfileFile> settings = settingsAsClosed())
        files.append({relative(m_settingsFile), settings->toBytes()});
    for (int box : textBoxesSaved())
        files.append({relative(boxtextfile::filePath(m_programDir, box)),
                      boxtextfile::encodeBoxText(m_boxes[box].text)});
    if (savesAttachments())
        files.append({relative(attachmentfile::filePath(m_programDir)),
                      attachmentfile::encode(m_attachments)});
    return files;
}
