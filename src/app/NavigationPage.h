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
class Messenger;
class FlatComboBox;
class RichEditSink;
class WindowStrip;

// Where the way output's popup menu looks for the system of a line.
enum class FindTarget { SystemDatabase, OwnDatabase, Notepad };

// The "Navigation" page: the From and To boxes, the way request and the box
// the way is written into. The star map and the avoid window reach it through
// the calls below.
class NavigationPage : public QWidget {
    Q_OBJECT

public:
    NavigationPage(QWidget* parent, RouteEngine& engine, Messenger& messenger, WindowStrip& strip);
    ~NavigationPage() override;

    // The From and To lists, once, after the core data file has been loaded.
    void fillSystemLists();

    // Where the six avoid flags are read at every request.
    void setAvoidFlagsSource(std::function<AvoidFlags()> source);

    // The star map picked the start: it stands in From until the next request
    // from the boxes.
    void mapStartPicked(int column, int row, const QString& name);
    // The star map picked the target: the way between the picked sectors.
    void mapTargetPicked(int column, int row, const QString& name);
    // While the star map is open it picks the sectors, and the boxes give way.
    void setMapPicking(bool picking);
    // The avoided races changed: the way is found again with them.
    void avoidedRacesChanged();

    // The sectors of the last request; known() is false for a wrong name.
    SectorPosition from() const { return from_; }
    SectorPosition to() const { return to_; }

signals:
    // "Find in ..." of the way output's popup menu, with the system of the
    // line that holds the caret.
    void findRequested(FindTarget target, const QString& keyword);

private:
    void buildControls();
    // Every way request: the sender decides the form (short only for shortButton_).
    void onWayRequested(QObject* sender);
    SectorPosition lookUp(const QString& name) const;
    void explainNoWay(bool searchFailed, const AvoidFlags& avoid);
    // Enter in From moves on to To; Enter in To asks for the way.
    void onFromReturnPressed();
    void onToReturnPressed();
    void onClearClicked();
    void onAvoidClicked();
    // Prints the way under its heading.
    void onPrintClicked();
    void buildPopupMenu();
    void onFindInTriggered(FindTarget target);

    RouteEngine& engine_;
    Messenger& messenger_;
    WindowStrip& strip_;
    std::function<AvoidFlags()> avoidFlags_;
    std::unique_ptr<RichEditSink> waySink_;
    // Cuts the system's name off a way line: Divider " through".
    StringTokenizer tokenizer_;
    SectorPosition from_{0, 0};
    SectorPosition to_{0, 0};
    bool mapPicking_ = false;

    QLabel* fromLabel_ = nullptr;
    FlatComboBox* fromBox_ = nullptr;
    QLabel* toLabel_ = nullptr;
    FlatComboBox* toBox_ = nullptr;
    QToolButton* avoidButton_ = nullptr;
    QToolButton* findWayButton_ = nullptr;
    QFrame* outputPanel_ = nullptr;
    QTextEdit* wayOutput_ = nullptr;
    QToolButton* clearButton_ = nullptr;
    QToolButton* shortButton_ = nullptr;
    QToolButton* printButton_ = nullptr;
    QMenu* wayMenu_ = nullptr;
    QAction* findInSystemDatabase_ = nullptr;
    QAction* findInOwnDatabase_ = nullptr;
    QAction* findInNotepad_ = nullptr;
};
