#pragma once

#include <QCheckBox>

// A check box whose every change at the user's hand arrives as one click:
// the mouse, the Space key and an assistive tool's toggle or press action
// alike. A change the program makes with setChecked raises no click, so a
// handler on clicked answers the user only.
class ClickCheckBox : public QCheckBox {
    Q_OBJECT

public:
    explicit ClickCheckBox(const QString& text, QWidget* parent = nullptr);
};
