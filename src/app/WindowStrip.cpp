#include "WindowStrip.h"

#include "ErrorBox.h"

#include <QEvent>
#include <QWidget>

void WindowStrip::setWindows(QWidget* main, QWidget* avoid, QWidget* map) {
    main_ = main;
    avoid_ = avoid;
    map_ = map;
    for (QWidget* window : {main, avoid, map}) {
        window->installEventFilter(this);
    }
}

// The windows report their moves, by the user or by the program, and their
// activation; the window activated last leads.
bool WindowStrip::eventFilter(QObject* watched, QEvent* event) {
    const Leader role = roleOf(watched);
    if (event->type() == QEvent::Move) {
        runGuarded([this, role] { windowMoved(role); });
    } else if (event->type() == QEvent::ActivationChange &&
               static_cast<QWidget*>(watched)->isActiveWindow()) {
        leader_ = role;
    }
    return QObject::eventFilter(watched, event);
}

Leader WindowStrip::roleOf(const QObject* window) const {
    if (window == main_) {
        return Leader::Main;
    }
    if (window == avoid_) {
        return Leader::Avoid;
    }
    return window == map_ ? Leader::Map : Leader::None;
}

bool WindowStrip::avoidShown() const {
    return avoid_ != nullptr && avoid_->isVisible();
}

bool WindowStrip::mapShown() const {
    return map_ != nullptr && map_->isVisible();
}

QWidget* WindowStrip::windowOf(Leader leader) const {
    switch (leader) {
    case Leader::Main:
        return main_;
    case Leader::Avoid:
        return avoid_;
    case Leader::Map:
        return map_;
    case Leader::None:
        break;
    }
    return nullptr;
}

int WindowStrip::slotOf(Leader leader) const {
    switch (leader) {
    case Leader::Avoid:
        return FirstSlot;
    case Leader::Map:
        return avoidShown() ? SecondSlot : FirstSlot;
    case Leader::Main:
    case Leader::None:
        break;
    }
    return 0;
}

// Positions are those of the windows' frames, as move() sets them.
void WindowStrip::putAtSlot(QWidget* window, int offset) const {
    window->move(main_->x() + offset, main_->y());
}

// Only the leading window drags the others along; their own moves then change
// nothing, as they don't lead.
void WindowStrip::windowMoved(Leader moved) {
    if (moved != leader_ || main_ == nullptr || avoid_ == nullptr || map_ == nullptr) {
        return;
    }
    if (moved != Leader::Main) {
        if (!main_->isVisible()) {
            return;
        }
        const QWidget* leader = windowOf(moved);
        main_->move(leader->x() - slotOf(moved), leader->y());
    }
    // A dragged avoid window takes the star map's slot along even while the
    // map is hidden.
    followMain(moved == Leader::Avoid);
}

void WindowStrip::followMain(bool mapFollowsHidden) const {
    if (avoidShown()) {
        putAtSlot(avoid_, FirstSlot);
    }
    if (mapShown() || mapFollowsHidden) {
        putAtSlot(map_, avoidShown() || mapFollowsHidden ? SecondSlot : FirstSlot);
    }
}

void WindowStrip::showAvoid() {
    putAtSlot(avoid_, FirstSlot);
    if (mapShown()) {
        putAtSlot(map_, SecondSlot);
    }
    avoid_->show();
    avoid_->raise();
    avoid_->activateWindow();
}

void WindowStrip::showMap() {
    if (avoidShown()) {
        putAtSlot(avoid_, FirstSlot);
        putAtSlot(map_, SecondSlot);
    } else {
        putAtSlot(map_, FirstSlot);
    }
    if (map_->isVisible()) {
        map_->raise();
    }
    map_->show();
    // The window just shown leads from now on.
    map_->activateWindow();
}

void WindowStrip::closeAvoid() {
    if (mapShown()) {
        putAtSlot(map_, FirstSlot);
    }
    avoid_->close();
}

void WindowStrip::closeSatellites() {
    if (map_ != nullptr) {
        map_->close();
    }
    if (avoid_ != nullptr) {
        avoid_->close();
    }
}
