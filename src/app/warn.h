#pragma once

#include "Windows.h"

#include <QDialog>

class QFrame;
class QLabel;
class QTextEdit;
class QToolButton;

// The modal message window: every report and the one question go through it.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    explicit TForm2(TWindows& windows);

    QFrame* Panel2 = nullptr; // sign panel
    QLabel* Label1 = nullptr; // the sign
    QFrame* Panel3 = nullptr; // message panel
    QLabel* Panel4 = nullptr; // caption bar
    QTextEdit* RichEdit1 = nullptr;
    QFrame* B01P = nullptr;
    QToolButton* B01 = nullptr;
    QFrame* B02P = nullptr;
    QToolButton* B02 = nullptr;

    // Fills the window and runs it modally until one of its buttons closes it.
    void Show(const QString& caption, const QString& text, int kind, const QString& leftButton,
              const QString& rightButton);

    void B01Click();
    void B02Click();

private:
    // An empty caption hides the button's holder.
    void ShowButton(QFrame* holder, QToolButton* button, const QString& caption);
    // Kinds 0, 1, 2: "!", "?", ":"; any other kind keeps the last sign.
    void ShowSign(int kind);

    TWindows& windows_;
};
