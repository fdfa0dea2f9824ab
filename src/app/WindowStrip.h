#pragma once

#include <QObject>

class QWidget;

// The window the user activated last; when it moves, the others follow.
enum class TLeader { None, Main, Avoid, Map };

// The main window and its two satellites stand in one row with a common top:
// the main window, the avoid-races window beside it when shown, and the star
// map to the right of both. Every placement of the row happens here: it
// watches the three windows for moves and for activation.
class TWindowStrip : public QObject {
public:
    // The main window's outer width, and that plus the avoid window's.
    static constexpr int FirstSlot = 492;
    static constexpr int SecondSlot = 602;

    // Starts watching the three windows.
    void SetWindows(QWidget* main, QWidget* avoid, QWidget* map);

    TLeader Leader() const { return leader_; }
    void SetLeader(TLeader leader) { leader_ = leader; }

    // A window of the row has moved: when it leads, the others follow it.
    void WindowMoved(TLeader moved);

    // Places the satellite in the row, then shows and activates it.
    void ShowAvoid();
    void ShowMap();
    // The star map closes the gap the avoid window leaves.
    void CloseAvoid();
    void CloseSatellites();

    bool AvoidShown() const;
    bool MapShown() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* WindowOf(TLeader leader) const;
    TLeader RoleOf(const QObject* window) const;
    // The offset from the main window's left at which the window stands.
    int SlotOf(TLeader leader) const;
    void PutAtSlot(QWidget* window, int offset) const;
    void FollowMain(bool mapFollowsHidden) const;

    QWidget* main_ = nullptr;
    QWidget* avoid_ = nullptr;
    QWidget* map_ = nullptr;
    TLeader leader_ = TLeader::None;
};
