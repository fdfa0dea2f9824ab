#pragma once

#include "Messenger.h"

#include <QDialog>

class QFrame;
class QLabel;
class QTextEdit;
class QToolButton;

// The modal message window: every report and the one question go through it.
class MessageWindow : public QDialog {
    Q_OBJECT

public:
    explicit MessageWindow(QWidget* parent);

    // Fills the window and runs it modally until it closes.
    void showMessage(const QString& caption, const QString& text, int kind,
                     const QString& leftButton, const QString& rightButton);
    // The answer to the last question. Closing the window other than by its
    // buttons (Escape, the system) answers "no".
    bool messageResult() const { return messageResult_; }
    // A question with two answers and a way out; the left button has the keyboard.
    Choice choose(const QString& caption, const QString& text, int kind, const QString& first,
                  const QString& second);

private:
    // Fills the window, gives the button the keyboard and runs it modally.
    void present(const QString& caption, const QString& text, int kind, const QString& leftButton,
                 const QString& rightButton, bool leftFocused);
    void onLeftButtonClicked();
    void onRightButtonClicked();
    // An empty caption hides the button's holder.
    void showButton(QFrame* holder, QToolButton* button, const QString& caption);
    // Alert "!", Question "?", Notice ":"; any other kind keeps the last sign.
    void showSign(int kind);

    QFrame* signPanel_ = nullptr;
    QLabel* signLabel_ = nullptr;
    QFrame* messagePanel_ = nullptr;
    QLabel* captionBar_ = nullptr;
    QTextEdit* messageText_ = nullptr;
    QFrame* leftButtonHolder_ = nullptr;
    QToolButton* leftButton_ = nullptr;
    QFrame* rightButtonHolder_ = nullptr;
    QToolButton* rightButton_ = nullptr;
    bool messageResult_ = false;
    // The button that closed the window, if one did.
    Choice pressed_ = Choice::Neither;
};
