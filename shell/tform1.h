#pragma once

#include "letter/boxtable.h"
#include "letter/framezone.h"
#include "letter/pagegeometry.h"
#include "letter/recoverycopy.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class BoxMemo;
class CustomerTable;
class FontDialog;
class MergedLetters;
class Panel;
class ProfileFile;
class RecoveryStore;
class RenderPage;
class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QStringListModel;
class QRadioButton;
class QStackedWidget;
class QTimer;
class QToolButton;
class TFList;
struct RenderBox;

namespace addressblock {
enum class Layout;
}

// The main window. One class; its handlers for each subsystem are defined in
// that subsystem's folder (tform1_*.cpp). Small state that belongs to one
// control (the current box to the box-name label, the stored mode to the
// data source options, the customer count to the count label) is a plain
// member named after what it holds, with the control named beside it.
class TForm1 : public QWidget
{
    Q_OBJECT
public:
    // `executablePath` fixes the program directory and the settings names;
    // the constructor builds the controls and runs FormCreate.
    explicit TForm1(const QString &executablePath, QWidget *parent = nullptr);
    ~TForm1() override;

    // The program directory of an executable: the folder that holds it,
    // ending with "/".
    static QString programDirectoryOf(const QString &executablePath);

    void setDataHolder(TFList *list) { FList = list; }

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

    TFList *FList = nullptr;

    // ---- small state, each beside the control it belongs to --------------
    int currentBox = 0;       // Label1's tag
    int storedMode = 0;       // GroupBox2's tag: 0 until an option is processed
    int customerCount = 0;    // Label3's tag
    int lineSpacingDigit = 2; // Edit1's tag
    std::array<unsigned, boxtable::kBoxCount> frameColours{}; // each frame's tag

    QString programDir;  // directory of the executable, ending with "/"
    QString exeFileName; // "tavrint"
    QString settingsSection;
    QString settingsFile;
    bool firstRun = false;
    int screenHeight = 0;
    int pixelsPerInch = 96;
    PageGeometry page;

    // ---- geometry in the page's client coordinates ------------------------
    // The page has a one-pixel border; frames are placed relative to the
    // area inside it, as the settings file and the printout count them.
    QRect framePageRect(int box) const;
    void setFramePageRect(int box, const QRect &rect);
    // The memo's client corner relative to the page's client corner.
    QPoint memoPageOrigin(int box) const;
    // Re-lays the inner panel and memo after a frame's size or rim changed.
    void layoutFrame(int box);
    void setFrameBorderWidth(int box, int width);

    // Font size in points of a memo / set by points (MulDiv at the screen's
    // pixels per inch).
    int memoFontPoints(int box) const;
    void setMemoFontPoints(int box, int points);

    int radioGroupItemIndex() const;
    int activePage() const;
    void setActivePage(int index);
    void setScreenCursor(Qt::CursorShape shape); // Qt::ArrowCursor resets it

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
    void ApplyBoxFont();
    void spbAClick();
    void spb5MouseUp();
    void Timer1Timer();
    void PrintPage();
    RenderPage renderPage() const;        // the boxes as they would print now
    QList<RenderBox> renderBoxes() const; // what renderPage() is built from
    // "PDFに保存…": asks for a file and writes the page as a PDF into it.
    void savePdf();
    void setUpPdfSaving(); // its shortcut and context menu
    static QString savePdfCaption();
    // One letter for every customer of the list, in list order, box B
    // holding each one's addressee block: "全員分をPDFに保存…" asks for a
    // file, "全員分を印刷" prints one job. Both show their progress and can
    // be cancelled; the letter on screen stays as it is.
    void setUpMergedLetters(); // their shortcuts and menu entries
    void saveMergedPdf();
    void printMergedLetters();
    static QString saveMergedPdfCaption();
    static QString printMergedCaption();
    static QString nothingToMergeText();
    // How many customers the list shows now: 0 unless a customer list was
    // read ("TXTから取得" or "XLSから取得").
    int mergeCount() const;
    // The letters for rows 0 .. count - 1 of `table`, everything but box B
    // as it is now.
    MergedLetters mergedLetters(const CustomerTable &table, int count,
                                addressblock::Layout layout) const;
    // The page's context menu (a bare spot of the page or the left panel).
    QList<QAction *> pageMenuActions;
    // Marks box `box`'s frame while its text runs past the text area.
    void showOverflow(int box);
    void spb3Click();
    void spb4Click();
    void Edit1Change();
    void Edit1KeyPress(QKeyEvent *event);
    void Label2Click();
    void Edit2Change();
    void RadioButton1Click(QRadioButton *sender);
    void RadioGroup1Click();
    void ListBox1Click();
    // What tells a customer apart from another of the same name.
    QString customerToolTip(int row) const;

    // Operations the handlers share.
    void ReadWindowPos();
    void ReadBoxLayout(int box);
    bool WriteWindowPos();
    bool WriteBoxLayout(int box);
    bool commitSettings(); // saves what WriteWindowPos/WriteBoxLayout wrote, at once
    bool LoadBoxTexts();
    bool LoadBoxText(int box); // the loading rule; false after an error report
    bool SaveBoxTexts();
    void LoadForMode();
    void LoadTextList();
    static bool IsFileInUse(const QString &path);
    void OpenMergeWorkbook();
    void applyFirstRunLayout();

    // Keyboard shortcuts, each bound beside the handler it reaches: they add
    // ways in, never a tab stop, and run the handlers unchanged.
    void bindPrintingShortcuts(); // Ctrl+P: as releasing the print button
    void bindPreviewShortcuts();  // F5: as clicking the preview button
    void bindBoxFontShortcuts();  // Ctrl+F: as clicking the font button
    void bindBoxFocusShortcuts(); // Ctrl+1 .. Ctrl+8: into box 1 .. 8

    // Hand-off from a second start: the marker, then the addressee text.
    void receiveHandOff(const QString &marker, const QString &addressee);

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

    // What a close at this moment would write, file by file.
    recoverycopy::Files closeFiles() const;
    // From now on every change of the letter (text, frame, font, mode,
    // window position) is kept in `store` within a second or two.
    void keepRecoveryCopiesIn(RecoveryStore *store);
    // Writes the recovery copy now if the letter changed since the last.
    void keepRecoveryCopy();
    // The one-line note of a start that applied a recovery copy; it goes at
    // the next click.
    void showRecoveredNote();
    static QString recoveredNoteText();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void buildControls();
    void bindEvents();
    void fitToChildren();
    void applyResizingRules();
    void fitCustomerListColumns();
    void placeCloseButtons();
    void putWindowPos(ProfileFile &settings) const;
    void putBoxLayout(ProfileFile &settings, int box) const;
    void noteLetterChanged();
    void watchLetterChanges();

    struct FrameDrag
    {
        int box;
        FrameZone zone;
        QRect start;
        QPoint pressedAt; // global
    };
    std::optional<FrameDrag> m_drag;

    // Start-up reads the file once for all its values; the close writes
    // every key into one document and saves it once.
    std::unique_ptr<ProfileFile> m_settingsRead;
    std::unique_ptr<ProfileFile> m_settingsWrite;
    const ProfileFile &settingsForReading();
    // The window position as the settings file gave it: written back as it
    // was where the window system does not say where the window is.
    QPoint m_storedWindowPos;

    RecoveryStore *m_recovery = nullptr;
    QTimer *m_recoveryTimer = nullptr;
    recoverycopy::Files m_keptCopy; // what the recovery copy holds now
    bool m_recoveryWarned = false;
    QLabel *m_recoveredNote = nullptr;
};
