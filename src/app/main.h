#pragma once

#include "NinjaMatrix.h"
#include "StringTokenizer.h"
#include "Windows.h"

#include <QIcon>
#include <QList>
#include <QString>
#include <QWidget>
#include <memory>

class QCheckBox;
class QComboBox;
class QFileDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTextEdit;
class QToolButton;
class TMatrixShape;
class TRichEditSink;

// What start-up needs from outside the windows.
struct TStartOptions {
    // The folder of the executable, with a trailing separator: the default
    // place of the data files.
    QString ProgramFolder;
};

// The main window: owns the route engine, the tokenizer, the five pages, the
// options panel and the program-wide state.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    TForm1(TWindows& windows, TStartOptions options);
    ~TForm1() override;

    // --- Program-wide state ---------------------------------------------------
    QString CoreDataPath;
    QString InfoDataPath;
    QString LastNotesFile;
    QString LastOwnDataFile;
    bool SettingsReady = false;
    bool StarMapLinked = true;
    bool MainLeads = false;
    bool AvoidLeads = false;
    bool MapLeads = false;
    bool MessageResult = false;
    int SearchPosition = 0;

    // Navigation request, shared with the star map. 255 means "no such system".
    int FromColumn = 0;
    int FromRow = 0;
    int ToColumn = 0;
    int ToRow = 0;
    bool TargetPending = false;

    TNinjaMatrix NinjaMatrix1;
    TStringTokenizer st;

    const QString& ProgramFolder() const { return options_.ProgramFolder; }
    TWindows& Windows() const { return windows_; }

    // --- Main window (main.cpp) -------------------------------------------------
    QFrame* Panel1 = nullptr;
    QLabel* OrlenFade1 = nullptr; // title artwork
    QLabel* OrlenFade2 = nullptr; // "Show starmap" picture
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet3 = nullptr; // Navigation
    QWidget* TabSheet1 = nullptr; // System Database
    QWidget* TabSheet5 = nullptr; // Own Database
    QWidget* TabSheet4 = nullptr; // Notepad
    QWidget* TabSheet2 = nullptr; // Info
    QToolButton* OBut = nullptr;
    QToolButton* EndIt = nullptr;
    // The five 16x16 pictures of the page tabs and the popup menus.
    QList<QIcon> ImageList1;

    void FormCreate();
    void FormShow();
    void FormActivate();
    void EndItClick();
    // The switch is always allowed; the Info page goes back to its first panel.
    bool PageControl1Changing();
    void OButClick();
    // Points the engine at the star map's 64 sector shapes and 112 dividers.
    void BindStarMap();

    // The one way the program reports to the user; answers land in MessageResult.
    void Showme(const QString& caption, const QString& text, int kind, const QString& leftButton,
                const QString& rightButton);

    // --- Navigation page (main_navigation.cpp) ----------------------------------
    QLabel* Label1 = nullptr;            // "From"
    QComboBox* Von = nullptr;            // start system
    QLabel* Label2 = nullptr;            // "To"
    QComboBox* Nach = nullptr;           // target system
    QToolButton* SpeedButton5 = nullptr; // "Avoid contact with"
    QToolButton* Way = nullptr;          // "Find a way..."
    QFrame* Panel2 = nullptr;
    QTextEdit* RichEdit1 = nullptr;      // the way
    QToolButton* SpeedButton1 = nullptr; // "X"
    QToolButton* SpeedButton3 = nullptr; // "Short description"
    QToolButton* SpeedButton4 = nullptr; // "Print"

    // Every way request: the sender decides the form (short only for SpeedButton3).
    void WayClick(QObject* sender);
    // Enter in Von moves on to Nach; Enter in Nach asks for the way.
    void VonKeyPress();
    void NachKeyPress();
    void SpeedButton1Click();
    void SpeedButton5Click();
    // The From and To lists, once, after the core data file has been loaded.
    void FillSystemLists();

    // --- Placement of the satellites (main_placement.cpp) -----------------------
    // Opens the star map beside the main window.
    void Button1Click();
    void FormMoved();
    // Top := main window's top, left := main window's left + offset.
    void PutAtSlot(QWidget* window, int offset);
    static constexpr int FirstSlot = 492;
    static constexpr int SecondSlot = 602;

    // --- Options panel (main_options.cpp) ---------------------------------------
    QFrame* Options = nullptr;
    QFrame* Panel5 = nullptr;
    QToolButton* SpeedButton6 = nullptr;  // "General Settings"
    QToolButton* SpeedButton7 = nullptr;  // "Database Settings"
    QToolButton* SpeedButton10 = nullptr; // "Close option-menu"
    QFrame* AllgEinst = nullptr;
    QFrame* DataEinst = nullptr;
    QCheckBox* CheckBox3 = nullptr; // "Display help-popups"
    QCheckBox* CheckBox4 = nullptr; // "Show starmap linked with database entries"
    QCheckBox* CheckBox5 = nullptr; // "Automatic database-rollout"
    QCheckBox* CheckBox6 = nullptr; // "Show node-lines (in database)"
    QFrame* Shape5 = nullptr;       // core data marker; hint = CoreDataPath
    QFrame* Shape7 = nullptr;       // info data marker; hint = InfoDataPath
    QLineEdit* SysCoreDat = nullptr;
    QLineEdit* SysInfoDat = nullptr;
    QToolButton* SpeedButton8 = nullptr;
    QToolButton* SpeedButton9 = nullptr;
    QFileDialog* OpenDialog2 = nullptr;
    // On the Notepad and Own Database pages; stored with the options.
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;

    void SpeedButton6Click();
    void SpeedButton7Click();
    void SpeedButton8Click(QObject* sender);
    void CheckBox1Click();
    void CheckBox3Click();
    void CheckBox4Click();
    void CheckBox5Click();
    void CheckBox6Click();
    static QString ShortPathText(const QString& path);
    // A data-file path longer than this shows as its ShortPathText.
    static constexpr int LongestFullPath = 30;

    // --- Settings (main_settings.cpp) -------------------------------------------
    // Steps 3 to 5 of FormCreate: opens the store, reads the ten values in their
    // order with each check box's effect applied, closes the store.
    void ReadSettings();
    // Writes all ten values, once start-up has finished.
    void UpdateReg();
    // The last steps of FormCreate: the program-wide hint timing and the
    // data-file markers' hints.
    void ApplyHintTimingAndMarkers();

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMainLayout();
    void BuildNavigationPage();
    void BuildOptionsPanel();
    void BuildAutoLoadBoxes();
    void SetPagesShown(bool shown);
    void CloseSatellites();

    TWindows& windows_;
    TStartOptions options_;
    std::unique_ptr<TRichEditSink> waySink_;
    bool shownOnce_ = false;
};
