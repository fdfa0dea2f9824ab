#pragma once

#include <QObject>

class QWidget;

// The window the user activated last; when it moves, the others follow.
enum class Leader { None, Main, Avoid, Map };

// The main window and its two satellites stand in one row with a common top:
// the main window, the avoid-races window beside it when shown, and the star
// map to the right of both. Every placement of the row happens here: it
// watches the three windows for moves and for activation.
class WindowStrip : public QObject {
public:
    // The main window's outer width, and that plus the avoid window's.
    static constexpr int FirstSlot = 492;
    static constexpr int SecondSlot = 602;

    // Starts watching the three windows.
    void setWindows(QWidget* main, QWidget* avoid, QWidget* map);

    Leader leader() const { return leader_; }
    void setLeader(Leader leader) { leader_ = leader; }

    // A window of the row has moved: when it leads, the others follow it.
    void windowMoved(Leader moved);

    // Places the satellite in the row, then shows and activates it.
    void showAvoid();
    void showMap();
    // The star map closes the gap the avoid window leaves.
    void closeAvoid();
    void closeSatellites();

    bool avoidShown() const;
    bool mapShown() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* windowOf(Leader leader) const;
    Leader roleOf(const QObject* window) const;
    // The offset from the main window's left at which the window stands.
    int slotOf(Leader leader) const;
    void putAtSlot(QWidget* window, int offset) const;
    void followMain(bool mapFollowsHidden) const;

    QWidget* main_ = nullptr;
    QWidget* avoid_ = nullptr;
    QWidget* map_ = nullptr;
    Leader leader_ = Leader::None;
};
