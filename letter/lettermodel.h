// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter/boxtable.h"
#include "letter/datestyle.h"
#include "letter/letterfields.h"
#include "letter/pagegeometry.h"
#include "letter/recoverycopy.h"
#include "platform/profilefile.h"
#include "platform/result.h"
#include "platform/screenmetrics.h"

#include <QDate>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The data source mode that decides, among others, whether the close saves
// box B: nothing chosen yet at start, then the option last processed.
enum class StoredMode {
    NotChosen = 0,
    Initial = 1,       // "初期値"
    TextList = 2,      // "TXTから取得"
    WorkbookList = 3,  // "XLSから取得"
    MergeWorkbook = 4, // "XLSから差込"
};

// The letter itself, without a window: the eight boxes with their frames,
// fonts and texts, the page they lie on, the window position and the small
// state the close's rules look at. It loads from the settings file and the
// box text files by the start-up rules, saves by the close's rules, and
// wraps each box's text into the display lines its text area shows. The
// main window shows and edits it; --pdf and the merges use it alone.
class LetterModel
{
public:
    struct Box
    {
        QRect frame;         // in the page's client coordinates
        QString face;        // the font's face name, as applied
        int pixelHeight = 1; // the font's character height in screen pixels
        QString text;        // CR LF line breaks, only what code page 932 holds
    };

    // Fixes the run's names from the executable (`programDir` ends with
    // "/") and the page from the screen; the boxes start as the form lays
    // them out (design rectangles, "ＭＳ Ｐ明朝" at 15 pixels, no text).
    LetterModel(const QString &programDir, const QString &executableName,
                const ScreenMetrics &screen);

    // The program directory of an executable: the folder that holds it,
    // ending with "/".
    static QString programDirectoryOf(const QString &executablePath);

    // ---- fixed for the run ------------------------------------------------
    const QString &programDir() const { return m_programDir; }
    const QString &executableName() const { return m_executableName; }
    const QString &settingsSection() const { return m_section; }
    const QString &settingsFile() const { return m_settingsFile; }
    const ScreenMetrics &screen() const { return m_screen; }
    const PageGeometry &page() const { return m_page; }
    // The settings file did not exist when the run began.
    bool firstRun() const { return m_firstRun; }

    // ---- loading, by the start-up rules ---------------------------------
    // Start-up's reads in their order: the window position, the box texts,
    // today's date into box D, then the first-run layout or each box's
    // stored font and frame. Box texts that could not be read are left as
    // they were and their open errors added to `errors`.
    void load(const QDate &today, QStringList *errors);

    void ReadWindowPos(const ProfileFile &settings);
    void ReadBoxLayout(const ProfileFile &settings, int box);
    // The attachment list, its pages counted; a list that cannot be read is
    // added to `errors`, and the letter keeps none.
    void loadAttachments(QStringList *errors);
    // Every box with a text file, in order; false when one could not be read.
    bool LoadBoxTexts(QStringList *errors);
    // The loading rule for one box; a missing file leaves the box as it is.
    Result<void> LoadBoxText(int box);
    void applyFirstRunLayout(const QDate &today);

    // ---- the boxes --------------------------------------------------------
    const Box &box(int index) const { return m_boxes[index]; }
    // Any line breaks; stored with CR LF and characters code page 932 lacks
    // as "?", as the box shows them.
    void setText(int box, const QString &text);
    void setFrame(int box, const QRect &frame);
    void setFace(int box, const QString &face);
    void setPixelHeight(int box, int pixels);
    // Sizes in points are MulDiv of the pixel height at the screen's pixels
    // per inch; a hostile size is held to what can be rendered (1..400).
    int points(int box) const;
    void setPoints(int box, int points);
    // The box's font as its text area draws it (in the installed family that
    // stands in for a Windows face).
    QFont font(int box) const;
    // The same under the face's own name, as the font chooser shows it.
    QFont faceFont(int box) const;
    // Where the text area's client corner lies on the page: inside the rim.
    QPoint textOrigin(int box) const;
    int textWidth(int box) const;
    // The letter's customer, whose cells fill the fields of what is
    // printed: the one last chosen in the list; none at start, after a mode
    // change or a hand-off.
    void setCustomer(std::optional<letterfields::Values> values) { m_customer = std::move(values); }
    const letterfields::Values *customer() const { return m_customer ? &*m_customer : nullptr; }
    // The box's text as it is printed: its fields filled by the customer's
    // cells, or by nothing without a customer.
    QString printedText(int box) const;
    // The display lines of the box's printed text, or of `text` in the box.
    QStringList displayLines(int box) const;
    QStringList wrap(int box, const QString &text) const;

    // ---- the rest of what the close looks at ------------------------------
    QPoint windowPos() const { return m_windowPos; }
    void setWindowPos(QPoint pos) { m_windowPos = pos; }
    // Where the window system never says where a window is (Wayland), the
    // close writes the position back as it was read.
    void setWindowPositionKnown(bool known) { m_windowPositionKnown = known; }

    StoredMode storedMode() const { return m_storedMode; }
    void setStoredMode(StoredMode mode) { m_storedMode = mode; }
    // What a hand-off wrote into the marker field (Edit2).
    const QString &handOffMarker() const { return m_handOffMarker; }
    void setHandOffMarker(const QString &marker) { m_handOffMarker = marker; }
    // How the letter writes dates (box D, the field 《日付》): from the
    // settings file, 西暦 unless it says otherwise. Setting it writes
    // `today` into box D in the new style.
    datestyle::Style dateStyle() const { return m_dateStyle; }
    void setDateStyle(datestyle::Style style, const QDate &today);
    // The PDF files that go out after the cover, in order, and how many
    // pages they had when last counted; 《枚数》 prints the pages that go
    // out, the cover included.
    const QStringList &attachments() const { return m_attachments; }
    void setAttachments(const QStringList &paths, int attachedPages);
    int attachedPages() const { return m_attachedPages; }
    int sentPages() const { return 1 + m_attachedPages; }
    // 0..9, 10 units between the lines of a box per step; 2 for the run.
    int lineSpacingDigit() const { return m_lineSpacingDigit; }
    void setLineSpacingDigit(int digit) { m_lineSpacingDigit = digit; }

    // ---- saving, by the close's rules -------------------------------------
    void WriteWindowPos(ProfileFile &settings) const;
    void WriteBoxLayout(ProfileFile &settings, int box) const;
    // The date style's key, only once a letter has been given one, so that
    // the file of a letter that never had one stays as it was.
    void WriteDateStyle(ProfileFile &settings) const;
    // The close query: the window position and every box's font and frame,
    // in one atomic replace of the settings file; the write error on failure.
    Result<void> saveLayout() const;
    // The close handler: the box texts, box B only when its rule allows,
    // stopping at the first that cannot be written.
    Result<void> saveTexts() const;
    // Whether the close saves box B now.
    bool savesAddressee() const;
    // What a close at this moment would write, file by file, in its order.
    recoverycopy::Files closeFiles() const;

private:
    // The settings file as the close writes it: read, then the window
    // position and every box's font and frame set; the read error when it
    // cannot be read.
    Result<ProfileFile> settingsAsClosed() const;
    // The boxes whose text files the close writes, in its order.
    QList<int> textBoxesSaved() const;
    // Whether the close writes the attachment list: once there was one.
    bool savesAttachments() const;

    QString m_programDir;
    QString m_executableName;
    QString m_section;
    QString m_settingsFile;
    ScreenMetrics m_screen;
    PageGeometry m_page;
    bool m_firstRun = false;

    std::array<Box, boxtable::kBoxCount> m_boxes;
    QPoint m_windowPos;
    QPoint m_storedWindowPos; // as the settings file gave it
    bool m_windowPositionKnown = true;
    StoredMode m_storedMode = StoredMode::NotChosen;
    std::optional<letterfields::Values> m_customer;
    QString m_handOffMarker;
    int m_lineSpacingDigit = 2;
    datestyle::Style m_dateStyle = datestyle::Style::Western;
    QStringList m_attachments;
    int m_attachedPages = 0;
    bool m_attachmentFileFound = false; // the close then writes it even empty
};
