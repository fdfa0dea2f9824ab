#pragma once

#include "RouteEngine.h"

#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QToolButton;
class WindowStrip;

// The avoid-races window: its six check boxes are the only store of the avoid flags.
class AvoidWindow : public QWidget {
    Q_OBJECT

public:
    AvoidWindow(WindowStrip& strip, QWidget* parent);

    // The flags by race number 1 to 6 (index 0 is race 1, Borons).
    AvoidFlags avoidFlags() const;

signals:
    // The user checked or cleared a race: the way is to be found again.
    void racesChanged();

private:
    void onRaceBoxClicked();
    void onCloseClicked();

    WindowStrip& strip_;
    QFrame* panel_ = nullptr;
    QLabel* heading_ = nullptr;
    QCheckBox* argonsBox_ = nullptr;
    QCheckBox* boronsBox_ = nullptr;
    QCheckBox* paranidsBox_ = nullptr;
    QCheckBox* splitBox_ = nullptr;
    QCheckBox* teladiBox_ = nullptr;
    QCheckBox* xenonBox_ = nullptr;
    QFrame* footerBar_ = nullptr;
    QToolButton* closeButton_ = nullptr;
};
