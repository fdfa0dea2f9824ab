#include "WindowStrip.h"

#include "ErrorBox.h"

#include <QEvent>
#include <QWidget>

void TWindowStrip::SetWindows(QWidget* main, QWidget* avoid, QWidget* map) {
    main_ = main;
    avoid_ = avoid;
    map_ = map;
    for (QWidget* window : {main, avoid, map}) {
        window->installEventFilter(this);
    }
}

// The windows report their moves, by the user or by the program, and their
// activation; the window activated last leads.
bool TWindowStrip::eventFilter(QObject* watched, QEvent* event) {
    const TLeader role = RoleOf(watched);
    if (event->type() == QEvent::Move) {
        RunGuarded([this, role] { WindowMoved(role); });
    } else if (event->type() == QEvent::ActivationChange &&
               static_cast<QWidget*>(watched)->isActiveWindow()) {
        leader_ = role;
    }
    return QObject::eventFilter(watched, event);
}

TLeader TWindowStrip::RoleOf(const QObject* window) const {
    if (window == main_) {
        return TLeader::Main;
    }
    if (window == avoid_) {
        return TLeader::Avoid;
    }
    return window == map_ ? TLeader::Map : TLeader::None;
}

bool TWindowStrip::AvoidShown() const {
    return avoid_ != nullptr && avoid_->isVisible();
}

bool TWindowStrip::MapShown() const {
    return map_ != nullptr && map_->isVisible();
}

QWidget* TWindowStrip::WindowOf(TLeader leader) const {
    switch (leader) {
    case TLeader::Main:
        return main_;
    case TLeader::Avoid:
        return avoid_;
    case TLeader::Map:
        return map_;
    case TLeader::None:
        break;
    }
    return nullptr;
}

int TWindowStrip::SlotOf(TLeader leader) const {
    switch (leader) {
    case TLeader::Avoid:
        return FirstSlot;
    case TLeader::Map:
        return AvoidShown() ? SecondSlot : FirstSlot;
    case TLeader::Main:
    case TLeader::None:
        break;
    }
    return 0;
}

// Positions are those of the windows' frames, as move() sets them.
void TWindowStrip::PutAtSlot(QWidget* window, int offset) const {
    window->move(main_->x() + offset, main_->y());
}

// Only the leading window drags the others along; their own moves then change
// nothing, as they don't lead.
void TWindowStrip::WindowMoved(TLeader moved) {
    if (moved != leader_ || main_ == nullptr || avoid_ == nullptr || map_ == nullptr) {
        return;
    }
    if (moved != TLeader::Main) {
        if (!main_->isVisible()) {
            return;
        }
        const QWidget* leader = WindowOf(moved);
        main_->move(leader->x() - SlotOf(moved), leader->y());
    }
    // A dragged avoid window takes the star map's slot along even while the
    // map is hidden.
    FollowMain(moved == TLeader::Avoid);
}

void TWindowStrip::FollowMain(bool mapFollowsHidden) const {
    if (AvoidShown()) {
        PutAtSlot(avoid_, FirstSlot);
    }
    if (MapShown() || mapFollowsHidden) {
        PutAtSlot(map_, AvoidShown() || mapFollowsHidden ? SecondSlot : FirstSlot);
    }
}

void TWindowStrip::ShowAvoid() {
    PutAtSlot(avoid_, FirstSlot);
    if (MapShown()) {
        PutAtSlot(map_, SecondSlot);
    }
    avoid_->show();
    avoid_->raise();
    avoid_->activateWindow();
}

void TWindowStrip::ShowMap() {
    if (AvoidShown()) {
        PutAtSlot(avoid_, FirstSlot);
        PutAtSlot(map_, SecondSlot);
    } else {
        PutAtSlot(map_, FirstSlot);
    }
    if (map_->isVisible()) {
        map_->raise();
    }
    map_->show();
    // The window just shown leads from now on.
    map_->activateWindow();
}

void TWindowStrip::CloseAvoid() {
    if (MapShown()) {
        PutAtSlot(map_, FirstSlot);
    }
    avoid_->close();
}

void TWindowStrip::CloseSatellites() {
    if (map_ != nullptr) {
        map_->close();
    }
    if (avoid_ != nullptr) {
        avoid_->close();
    }
}
