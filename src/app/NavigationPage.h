#pragma once

#include "PageKeys.h"
#include "RouteEngine.h"
#include "StringTokenizer.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QFrame;
class QHelpEvent;
class QKeyEvent;
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
class NavigationPage : public QWidget, public KeyedPage {
    Q_OBJECT

public:
    NavigationPage(QWidget* parent, RouteEngine& engine, Messenger& messenger, WindowStrip& strip);
    ~NavigationPage() override;

    // The From and To lists, once, after the core data file has been loaded.
    void fillSystemLists();

    // Where the six avoid flags are read at every request.
    void setAvoidFlagsSource(std::function<AvoidFlags()> source);
    // Where the first lines of a system's notes are found; none for a system
    // without notes.
    void setNotesSource(std::function<QStringList(SectorPosition)> source);

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

    // Ctrl+F reaches From, the box where a way begins.
    PageKeyTargets keyTargets() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // "Find in ..." of the way output's popup menu, with the system of the
    // line that holds the caret.
    void findRequested(FindTarget target, const QString& keyword);

private:
    void buildControls();
    // Every way request: the sender decides the form (short only for shortButton_).
    void onWayRequested(QObject* sender);
    SectorPosition lookUp(const QString& name) const;
    void explainNoWay(bool searchFailed, const AvoidFlags& avoid, bool shortForm);
    QString systemName(SectorPosition sector) const;
    // Shows the offer of the way through the fewest avoided systems, or takes it away.
    void showOffer(bool shown);
    void onFewestAvoidedRequested();
    // Enter in From moves on to To; Enter in To asks for the way.
    void onFromReturnPressed();
    void onToReturnPressed();
    void onClearClicked();
    void onAvoidClicked();
    // Prints the way under its heading.
    void onPrintClicked();
    void buildPopupMenu();
    void onFindInTriggered(FindTarget target);
    // The system a way line speaks of: its text before " through", or the
    // whole line.
    QString systemOfLine(const QString& line);
    // The whole way, or only the selection when there is one and selectionOnly.
    void copyWay(bool selectionOnly);
    void onWayMenuAboutToShow();
    bool onWayKeyPressed(QKeyEvent* key);
    // The notes of the system of the line under the pointer, as its hint.
    void showLineNotes(QHelpEvent* help);

    RouteEngine& engine_;
    Messenger& messenger_;
    WindowStrip& strip_;
    std::function<AvoidFlags()> avoidFlags_;
    std::function<QStringList(SectorPosition)> notesOf_;
    std::unique_ptr<RichEditSink> waySink_;
    // Cuts the system's name off a way line: Divider " through".
    StringTokenizer tokenizer_;
    SectorPosition from_{0, 0};
    SectorPosition to_{0, 0};
    bool mapPicking_ = false;
    // A request that found no way avoiding the chosen races, where a way
    // through some of their systems exists: the way the offer shows.
    struct FewestAvoidedOffer {
        SectorPosition from;
        SectorPosition to;
        AvoidFlags avoid;
        bool shortForm;
    };
    std::optional<FewestAvoidedOffer> offer_;

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
    QToolButton* fewestAvoidedButton_ = nullptr;
    QMenu* wayMenu_ = nullptr;
    QAction* findInSystemDatabase_ = nullptr;
    QAction* findInOwnDatabase_ = nullptr;
    QAction* findInNotepad_ = nullptr;
    QAction* copyWayAction_ = nullptr;
};
