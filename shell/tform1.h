// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "customers/customerlistsession.h"
#include "letter/framezone.h"
#include "letter/letterdocument.h"
#include "letter/recoverycopy.h"
#include "print/documentname.h"
#include "print/letteroutput.h"
#include "shell/tform1controls.h"

#include <QString>
#include <QWidget>

#include <array>
#include <optional>

class FaxConfirmDialog;
class RecoveryStore;
class QAction;
class QMenu;
class QTimer;
class TFList;

// The main window: a view of the letter document. Its handlers keep the
// names and bindings the layout fixes and ask the document for every change;
// the controls are updated from the document's signals alone, so no code
// writes the letter and a control at once. What is printed, written to a
// PDF, kept aside or saved at the close is the document's letter, never read
// back from a control. One class; its handlers for each subsystem are
// defined in that subsystem's folder (tform1_*.cpp).
class TForm1 : public QWidget, private TForm1Controls
{
    Q_OBJECT
    // The tests' way to the controls and to the steps behind menu entries.
    friend struct TForm1Access;

public:
    // `executablePath` fixes the program directory and the settings names;
    // the constructor builds the controls and runs FormCreate.
    explicit TForm1(const QString &executablePath, QWidget *parent = nullptr);
    ~TForm1() override;

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
    void Memo1Enter(BoxMemo *sender);
    void spb2Click();
    void FontDialog1Apply();
    void ApplyBoxFont();
    void spbAClick();
    void spb5MouseUp();
    void Timer1Timer();
    void PrintPage();
    void spb3Click();
    void spb4Click();
    void Edit1Change();
    void Edit1KeyPress(QKeyEvent *event);
    void Label2Click();
    void Edit2Change();
    void RadioButton1Click(QRadioButton *sender);
    void RadioGroup1Click();
    void ListBox1Click();
    void LoadForMode();
    void LoadTextList();
    static bool IsFileInUse(const QString &path);
    void OpenMergeWorkbook();

    // ---- what the window does beside its bindings -------------------------
    // The data holder whose table the customer list reads into.
    void setDataHolder(TFList *list);
    // The letter the window shows, and the customer list beside it.
    LetterDocument &document() { return m_document; }
    const LetterDocument &document() const { return m_document; }
    const CustomerListSession &customers() const { return m_customers; }

    // Hand-off from a second start: the marker, then the addressee text.
    void receiveHandOff(const QString &marker, const QString &addressee);
    // Whether a second start's texts may be applied now: not while a modal
    // dialog waits for the user, nor while a run of letters is being made.
    bool takesHandOff() const;

    // The close of the close button: the layout, then the box texts; true
    // when both were written, and the recovery copy is then removed.
    bool runClose();
    // SIGTERM, SIGHUP or SIGINT: the close runs with nobody to answer a
    // message box, so its errors go to standard error; open dialogs are
    // dismissed and every event loop ends. The exit code: 0 when the letter
    // was saved, else 1.
    int closeForSignal();

    // From now on every change of the letter is kept in `store` within a
    // second or two.
    void keepRecoveryCopiesIn(RecoveryStore *store);
    // The one-line note of a start that applied a recovery copy; it goes at
    // the next click.
    void showRecoveredNote();

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
    void bindDocument();          // the controls follow the document's signals
    void bindPrintingShortcuts(); // Ctrl+P: as releasing the print button
    void bindPreviewShortcuts();  // F5: as clicking the preview button
    void bindBoxFontShortcuts();  // Ctrl+F: as clicking the font button
    void bindBoxFocusShortcuts(); // Ctrl+1 .. Ctrl+8: into box 1 .. 8
    void setUpPdfSaving();        // its shortcut and context menu
    void setUpMergedLetters();    // their shortcuts and menu entries
    void setUpNamedLetters();     // their menu entries, box D's date styles
    void setUpCalibration();      // "印刷位置の調整…" in the page's menu
    void fitToChildren();
    void applyResizingRules();
    void fitCustomerListColumns();
    void placeCloseButtons();

    // ---- showing the letter's boxes on the page ----
    // Frames are placed relative to the page's area inside its one-pixel
    // border, as the settings file and the printout count them.
    void placeFrame(int box);  // the frame where the letter has it
    void layoutFrame(int box); // the inner panel and text area inside the rim
    // The box's text as typed, or in the preview as printed.
    void showBoxText(int box);
    void showBoxTexts();
    void showBoxFont(int box);
    void showFrameColour(int box);
    void showBox(int box); // frame, rim, font and text
    void showLineSpacing();
    void showStoredMode(StoredMode mode);
    void showOverflow(int box);                  // marks a frame whose text runs past its area
    void takeTypedText(int box);                 // a text area's edits into the letter
    void setScreenCursor(Qt::CursorShape shape); // Qt::ArrowCursor resets it
    // The interactive move or size that a press starts: follows the mouse
    // until the release, then the rest of PanelAMouseDown runs.
    void frameDragTo(const QPoint &globalPos);
    void finishFrameDrag();

    // ---- data source and customer list ----
    int radioGroupItemIndex() const;
    StoredMode modeOf(const QRadioButton *option) const;
    void setActivePage(int index);
    void showCustomerRead(const CustomerRead &read);
    void noteMissingSource(const QString &path);

    // ---- the ways out ----
    // "PDFに保存…": asks for a file and writes the page as a PDF into it.
    void savePdf();
    // One letter for every customer of the list, in list order, box B
    // holding each one's addressee block: "全員分をPDFに保存…" asks for a
    // file, "全員分を印刷" prints one job. Both show their progress and can
    // be cancelled; the letter on screen stays as it is.
    void saveMergedPdf();
    void printMergedLetters();
    // "1件ずつPDFに保存…": asks for a folder and writes a PDF per customer.
    void savePdfEach();
    // "印刷位置の調整…": the default printer's calibration dialog.
    void calibratePrinter();
    // The customers of a merge; none (after a message) when there are none.
    std::optional<letteroutput::Customers> mergeCustomers() const;
    // Those the user checks in the merge dialog; none when there were none
    // to offer or the dialog was cancelled.
    std::optional<letteroutput::Customers> chooseMergeCustomers(const QString &caption);
    // A run of `count` letters on a thread of its own behind the window's
    // progress, the window taking no hand-off meanwhile; nothing to report
    // when the user stopped it.
    std::optional<letteroutput::Outcome>
    runLetters(int count,
               const std::function<letteroutput::Outcome(const letteroutput::Progress &)> &output);
    // ---- named letters ----
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

    // ---- documents after the cover, faxes, the send log ----
    void setUpAttachments(); // "添付ファイル…", drops on the page, the note
    void chooseAttachments();
    bool takeDroppedFiles(QEvent *event); // true when it was PDF files
    void showAttachments();
    void setUpFax(); // "FAX送信…", "全員分をFAX送信", "送付記録…"
    void sendFax();
    void sendMergedFaxes();
    void showSendLog();
    // The service of a confirmed fax, kept as the user's choice; none when
    // the user cancelled.
    std::optional<fax::Service> confirmFax(FaxConfirmDialog &dialog);

    // Reports an outcome: a failure's text (`failed` names it), or a send
    // log that could not be written after the letters went out.
    void reportOutcome(const letteroutput::Outcome &outcome,
                       const std::function<QString(const QString &)> &failed = {});

    // ---- shutdown and recovery ----
    // The desktop session ends (log-off, shut-down): the layout and the box
    // texts are saved as a close would save them.
    void sessionEnding();
    void keepRecoveryCopy(); // now, if the letter changed since the last
    void scheduleRecoveryCopy();

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

    LetterDocument m_document;
    CustomerListSession m_customers;
    QString m_sourceFile; // what Label4 shows: the data source's file
    // The boxes whose text area shows the printed text (the preview); what
    // such an area holds is not the letter's text.
    std::array<bool, boxtable::kBoxCount> m_showsPrintedText{};
    QList<QAction *> m_pageMenuActions; // the page's context menu
    bool m_runningLetters = false;      // a run of every customer's letters is on
    documentname::JobNamer m_jobNames;  // every print job of the run a name of its own

    RecoveryStore *m_recovery = nullptr;
    QTimer *m_recoveryTimer = nullptr;
    recoverycopy::Files m_keptCopy; // what the recovery copy holds now
    bool m_recoveryWarned = false;
    QLabel *m_recoveredNote = nullptr;
    QLabel *m_attachmentsNote = nullptr; // what is attached, on the left panel
};
