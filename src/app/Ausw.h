#pragma once

#include "NinjaMatrix.h"
#include "Windows.h"

#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QToolButton;

// The avoid-races window: its six check boxes are the only store of the avoid flags.
class TForm3 : public QWidget {
    Q_OBJECT

public:
    explicit TForm3(TWindows& windows);

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

    // The flags by race number 1 to 6 (index 0 is race 1, Borons).
    AvoidFlags Flags() const;

    void ArgonenClick(QObject* sender);
    void WayClick();
    void FormActivate();
    void FormMoved();

protected:
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TWindows& windows_;
};
