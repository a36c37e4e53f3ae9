// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "customers/customerread.h"
#include "letter/boxtable.h"
#include "letter/framezone.h"
#include "letter/lettermodel.h"
#include "letter/recoverycopy.h"
#include "print/documentname.h"
#include "print/letterpage.h"
#include "print/sendlog.h"

#include <QString>
#include <QWidget>

#include <array>
#include <optional>

class BoxMemo;
class CustomerTable;
class FontDialog;
class MergedLetters;
class Panel;
class RecoveryStore;
class RenderPage;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QListView;
class QStringListModel;
class QRadioButton;
class QStackedWidget;
class QTimer;
class QToolButton;
class TFList;

namespace addressblock {
enum class Layout;
}

// The main window: a view of the letter (LetterModel) with the controls and
// handlers the layout fixes. One class; its handlers for each subsystem are
// defined in that subsystem's folder (tform1_*.cpp). Every handler that
// changes the letter changes the model and the controls that show it; what
// is printed, written to a PDF, kept aside or saved at the close is the
// model, never read back from a control.
class TForm1 : public QWidget
{
    Q_OBJECT
public:
    // `executablePath` fixes the program directory and the settings names;
    // the constructor builds the controls and runs FormCreate.
    explicit TForm1(const QString &executablePath, QWidget *parent = nullptr);
    ~TForm1() override;

    void setDataHolder(TFList *list) { m_list = list; }

    // The letter as the window shows it now.
    const LetterModel &letter() const { return m_letter; }
    // The box the font button acts on (Label1's tag).
    int currentBox() const { return m_currentBox; }
    // The customers the list shows (Label3's tag).
    int customerCount() const { return m_customerCount; }
    const TFList *dataHolder() const { return m_list; }

    // ---- controls, named as the layout names them -------------------------
    Panel *Pnl1 = nullptr;
    Panel *Pnl0 = nullptr;
    QLineEdit *Edit2 = nullptr;

    QToolButton *spbA = nullptr;
    QToolButton *spb5 = nullptr;
    QToolButton *spb4 = nullptr;
    QToolButton *spb3 = nullptr;
    QLabel *Label2 = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QToolButton *spb2 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QLabel *Label4 = nullptr;
    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QRadioButton *RadioButton3 = nullptr;
    QRadioButton *RadioButton4 = nullptr;
    Panel *Panel8 = nullptr;
    QStackedWidget *pgc1 = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QLabel *Label3 = nullptr;
    QListView *ListBox1 = nullptr; // model: ListBox1Items
    QStringListModel *ListBox1Items = nullptr;
    QWidget *RadioGroup1 = nullptr;
    QRadioButton *RadioGroup1Item0 = nullptr; // "会社名"
    QRadioButton *RadioGroup1Item1 = nullptr; // "担当者名"

    std::array<Panel *, boxtable::kBoxCount> frames{};      // PanelA..PanelH by box index
    std::array<Panel *, boxtable::kBoxCount> innerPanels{}; // Panel1..Panel7, Panel9
    std::array<BoxMemo *, boxtable::kBoxCount> memos{};     // Memo1..Memo8

    FontDialog *FontDialog1 = nullptr;
    QTimer *Timer1 = nullptr;

    // ---- handlers (event bindings) ----------------------------------------
    void FormCreate();
    bool FormCloseQuery();
    bool FormClose();
    void FormResize();
    void FormKeyPress(QKeyEvent *event);
    bool FormMouseWheel(QWheelEvent *event); // true when swallowed
    void Pnl0MouseMove();
    void PanelAMouseDown(Panel *sender, QMouseEvent *event);
    void PanelAMouseMove(Panel *sender, const QPoint &pos);
    // The interactive move or size that a press starts: follows the mouse
    // until the release, then the rest of PanelAMouseDown runs.
    void frameDragTo(const QPoint &globalPos);
    void finishFrameDrag();
    void Memo1Enter(BoxMemo *sender);
    void spb2Click();
    void FontDialog1Apply();
    void spbAClick();
    void spb5MouseUp();
    void Timer1Timer();
    void spb3Click();
    void spb4Click();
    void Edit1Change();
    void Edit1KeyPress(QKeyEvent *event);
    void Label2Click();
    void Edit2Change();
    void RadioButton1Click(QRadioButton *sender);
    void RadioGroup1Click();
    void ListBox1Click();

    // ---- what the window does beside its bindings -------------------------
    void PrintPage();
    RenderPage renderPage() const; // the letter as it would print now
    // "PDFに保存…": asks for a file and writes the page as a PDF into it.
    void savePdf();
    static QString savePdfCaption();
    // One letter for every customer of the list, in list order, box B
    // holding each one's addressee block: "全員分をPDFに保存…" asks for a
    // file, "全員分を印刷" prints one job. Both show their progress and can
    // be cancelled; the letter on screen stays as it is.
    void saveMergedPdf();
    void printMergedLetters();
    static QString saveMergedPdfCaption();
    static QString printMergedCaption();
    static QString nothingToMergeText();
    // How many customers the list shows now: 0 unless a customer list was
    // read ("TXTから取得" or "XLSから取得").
    int mergeCount() const;

    // Hand-off from a second start: the marker, then the addressee text.
    void receiveHandOff(const QString &marker, const QString &addressee);
    // Whether a second start's texts may be applied now: not while a modal
    // dialog waits for the user, nor while a run of letters is being made.
    bool takesHandOff() const;

    // The desktop session ends (log-off, shut-down): the layout and the box
    // texts are saved as a close would save them.
    void sessionEnding();
    // The close of the close button: the layout, then the box texts; true
    // when both were written, and the recovery copy is then removed.
    bool runClose();
    // SIGTERM, SIGHUP or SIGINT: the close runs with nobody to answer a
    // message box, so its errors go to standard error; open dialogs are
    // dismissed and every event loop ends. The exit code: 0 when the letter
    // was saved, else 1.
    int closeForSignal();

    // From now on every change of the letter (text, frame, font, mode,
    // window position) is kept in `store` within a second or two.
    void keepRecoveryCopiesIn(RecoveryStore *store);
    // Writes the recovery copy now if the letter changed since the last.
    void keepRecoveryCopy();
    // The one-line note of a start that applied a recovery copy; it goes at
    // the next click.
    void showRecoveredNote();
    static QString recoveredNoteText();

    // ---- named letters (letter/tform1_namedletters.cpp) -------------------
    // The named letter the current one came from, shown in the title
    // ("見積書送付 — Tavrint"); empty for none.
    const QString &letterName() const { return m_letterName; }
    // Keeps the current letter under `name` (replacing a letter of that
    // name), which becomes the current letter's name. False after an error
    // report (a name that cannot be a file name, a write that failed).
    bool keepLetterAs(const QString &name);
    // Saves the current letter as the close does (and keeps it under its
    // name, when it has one), then makes the letter `name` the current one.
    bool switchToLetter(const QString &name);
    bool renameLetter(const QString &from, const QString &to);
    // The current letter stays as it is; it only loses its name.
    bool deleteLetter(const QString &name);
    // 西暦 or 和暦 for box D and the field 《日付》.
    void setDateStyle(datestyle::Style style);
    static QString keepLetterCaption(); // "この文書を名前を付けて保存…"

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    // ---- building the window ----
    void buildControls();
    void bindEvents();
    void bindPrintingShortcuts(); // Ctrl+P: as releasing the print button
    void bindPreviewShortcuts();  // F5: as clicking the preview button
    void bindBoxFontShortcuts();  // Ctrl+F: as clicking the font button
    void bindBoxFocusShortcuts(); // Ctrl+1 .. Ctrl+8: into box 1 .. 8
    void setUpPdfSaving();        // its shortcut and context menu
    void setUpMergedLetters();    // their shortcuts and menu entries
    void setUpNamedLetters();     // their menu entries, box D's date styles
    void fitToChildren();
    void applyResizingRules();
    void fitCustomerListColumns();
    void placeCloseButtons();

    // ---- the letter's boxes on the page ----
    // Frames are placed relative to the page's area inside its one-pixel
    // border, as the settings file and the printout count them.
    QRect framePageRect(int box) const { return m_letter.box(box).frame; }
    void setFramePageRect(int box, const QRect &rect);
    void setBoxText(int box, const QString &text);
    // Shows the box's text as typed, or in the preview as printed.
    void showBoxText(int box);
    void showBoxTexts();
    // The customer whose cells fill the fields; nothing: none.
    void setCustomer(std::optional<letterfields::Values> values);
    void setBoxFont(int box, const QFont &font);
    void setBoxPoints(int box, int points);
    // Shows what the model holds for a box: frame, rim, font and text.
    void showBox(int box);
    void placeFrame(int box);  // the frame where the model has it
    void layoutFrame(int box); // the inner panel and text area inside the rim
    void ApplyBoxFont();
    void showOverflow(int box); // marks a frame whose text runs past its area
    void setCurrentBox(int box);
    void takeTypedText(int box);                 // a text area's edits into the model
    void setScreenCursor(Qt::CursorShape shape); // Qt::ArrowCursor resets it

    // ---- data source and customer list ----
    int radioGroupItemIndex() const;
    StoredMode modeOf(const QRadioButton *option) const;
    void setActivePage(int index);
    void LoadForMode();
    void LoadTextList();
    void showCustomerCount(int count);
    // The list, the count and the error report after a read of the list.
    void showCustomerRead(const CustomerRead &read);
    static bool IsFileInUse(const QString &path);
    void OpenMergeWorkbook();
    void noteMissingSource(const QString &path);
    // What tells a customer apart from another of the same name.
    QString customerToolTip(int row) const;
    MergedLetters mergedLetters() const;
    addressblock::Layout listLayout() const; // how the list's blocks are composed

    // ---- the send log ----
    // Adds the rows of letters that went out; a log that cannot be written
    // is reported as any write error, after the letters went out.
    void recordSent(const QList<letterpage::Heading> &letters, const QDateTime &at,
                    sendlog::Method method, const QString &destination);

    // ---- recovery ----
    void noteLetterChanged();

    // ---- named letters ----
    void showLetterName();  // the window title
    void keepNamedLetter(); // the current letter into its named letter, if any
    void askToKeepLetter(); // "この文書を名前を付けて保存…"
    void fillLettersMenu(QMenu *menu, int purpose);
    QString m_letterName;

    struct FrameDrag
    {
        int box;
        FrameZone zone;
        QRect start;
        QPoint pressedAt; // global
    };
    std::optional<FrameDrag> m_drag;

    LetterModel m_letter;
    TFList *m_list = nullptr;
    int m_currentBox = 0;    // Label1's tag
    int m_customerCount = 0; // Label3's tag
    QString m_sourceFile;    // what Label4 shows: the data source's file
    // Each frame's edit-mode colour (its tag), RGB as Windows writes it.
    std::array<unsigned, boxtable::kBoxCount> m_frameColours{};
    // True while the window puts a text into a text area itself, so that the
    // area's change does not come back as an edit.
    bool m_showingText = false;
    // The boxes whose text area shows the printed text (the preview).
    std::array<bool, boxtable::kBoxCount> m_showsPrintedText{};
    QList<QAction *> m_pageMenuActions; // the page's context menu
    bool m_runningLetters = false;      // a run of every customer's letters is on
    documentname::JobNamer m_jobNames;  // every print job of the run a name of its own

    RecoveryStore *m_recovery = nullptr;
    QTimer *m_recoveryTimer = nullptr;
    recoverycopy::Files m_keptCopy; // what the recovery copy holds now
    bool m_recoveryWarned = false;
    QLabel *m_recoveredNote = nullptr;
};
