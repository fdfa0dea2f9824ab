#pragma once

#include "RouteEngine.h"

#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QToolButton;
class TWindowStrip;

// The avoid-races window: its six check boxes are the only store of the avoid flags.
class TForm3 : public QWidget {
    Q_OBJECT

public:
    TForm3(TWindowStrip& strip, QWidget* parent);

    // The flags by race number 1 to 6 (index 0 is race 1, Borons).
    AvoidFlags Flags() const;

signals:
    // The user checked or cleared a race: the way is to be found again.
    void RacesChanged();

private:
    void ArgonenClick();
    void WayClick();

    TWindowStrip& strip_;
    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QCheckBox* Argonen = nullptr;
    QCheckBox* Boronen = nullptr;
    QCheckBox* Paraniden = nullptr;
    QCheckBox* Split = nullptr;
    QCheckBox* Teladi = nullptr;
    QCheckBox* Xenon = nullptr;
    QFrame* Shape1 = nullptr;
    QToolButton* Way = nullptr; // "Close"
};
