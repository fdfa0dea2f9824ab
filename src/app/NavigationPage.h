#pragma once

#include "RouteEngine.h"
#include "StringTokenizer.h"

#include <QWidget>
#include <functional>
#include <memory>

class QFrame;
class QAction;
class QLabel;
class QMenu;
class QTextEdit;
class QToolButton;
class TMessenger;
class TFlatComboBox;
class TRichEditSink;
class TWindowStrip;

// Where the way output's popup menu looks for the system of a line.
enum class TFindTarget { SystemDatabase, OwnDatabase, Notepad };

// The "Navigation" page: the From and To boxes, the way request and the box
// the way is written into. The star map and the avoid window reach it through
// the calls below.
class TNavigationPage : public QWidget {
    Q_OBJECT

public:
    TNavigationPage(QWidget* parent, TNinjaMatrix& engine, TMessenger& messenger,
                    TWindowStrip& strip);
    ~TNavigationPage() override;

    // The From and To lists, once, after the core data file has been loaded.
    void FillSystemLists();

    // Where the six avoid flags are read at every request.
    void SetAvoidFlagsSource(std::function<AvoidFlags()> source);

    // The star map picked the start: it stands in From until the next request
    // from the boxes.
    void MapStartPicked(int column, int row, const QString& name);
    // The star map picked the target: the way between the picked sectors.
    void MapTargetPicked(int column, int row, const QString& name);
    // While the star map is open it picks the sectors, and the boxes give way.
    void SetMapPicking(bool picking);
    // The avoided races changed: the way is found again with them.
    void AvoidedRacesChanged();

    // The sectors of the last request; Known() is false for a wrong name.
    SectorPosition From() const { return from_; }
    SectorPosition To() const { return to_; }

signals:
    // "Find in ..." of the way output's popup menu, with the system of the
    // line that holds the caret.
    void FindRequested(TFindTarget target, const QString& keyword);

private:
    void BuildControls();
    // Every way request: the sender decides the form (short only for SpeedButton3).
    void WayClick(QObject* sender);
    SectorPosition LookUp(const QString& name) const;
    void ExplainNoWay(bool searchFailed, const AvoidFlags& avoid);
    // Enter in Von moves on to Nach; Enter in Nach asks for the way.
    void VonKeyPress();
    void NachKeyPress();
    void SpeedButton1Click();
    void SpeedButton5Click();
    // Prints the way under its heading.
    void SpeedButton4Click();
    void BuildPopupMenu();
    void SysData1Click(TFindTarget target);

    TNinjaMatrix& engine_;
    TMessenger& messenger_;
    TWindowStrip& strip_;
    std::function<AvoidFlags()> avoidFlags_;
    std::unique_ptr<TRichEditSink> waySink_;
    // Cuts the system's name off a way line: Divider " through".
    TStringTokenizer st;
    SectorPosition from_{0, 0};
    SectorPosition to_{0, 0};
    bool mapPicking_ = false;

    QLabel* Label1 = nullptr;            // "From"
    TFlatComboBox* Von = nullptr;        // start system
    QLabel* Label2 = nullptr;            // "To"
    TFlatComboBox* Nach = nullptr;       // target system
    QToolButton* SpeedButton5 = nullptr; // "Avoid contact with"
    QToolButton* Way = nullptr;          // "Find a way..."
    QFrame* Panel2 = nullptr;
    QTextEdit* RichEdit1 = nullptr;      // the way
    QToolButton* SpeedButton1 = nullptr; // "X"
    QToolButton* SpeedButton3 = nullptr; // "Short description"
    QToolButton* SpeedButton4 = nullptr; // "Print"
    QMenu* PopupMenu1 = nullptr;         // of RichEdit1
    QAction* SysData1 = nullptr;         // "Find in System-Databse"
    QAction* EigData1 = nullptr;         // "Find in Own-Database"
    QAction* Notiz1 = nullptr;           // "Find in Notepad"
};
