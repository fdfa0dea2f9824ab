#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QTextEdit;
class QToolButton;

// The modal message window: every report and the one question go through it.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent);

    // Fills the window and runs it modally until it closes.
    void Show(const QString& caption, const QString& text, int kind, const QString& leftButton,
              const QString& rightButton);
    // The answer to the last question. Closing the window other than by its
    // buttons (Escape, the system) answers "no".
    bool MessageResult() const { return messageResult_; }

private:
    void B01Click();
    void B02Click();
    // An empty caption hides the button's holder.
    void ShowButton(QFrame* holder, QToolButton* button, const QString& caption);
    // Alert "!", Question "?", Notice ":"; any other kind keeps the last sign.
    void ShowSign(int kind);

    QFrame* Panel2 = nullptr; // sign panel
    QLabel* Label1 = nullptr; // the sign
    QFrame* Panel3 = nullptr; // message panel
    QLabel* Panel4 = nullptr; // caption bar
    QTextEdit* RichEdit1 = nullptr;
    QFrame* B01P = nullptr;
    QToolButton* B01 = nullptr;
    QFrame* B02P = nullptr;
    QToolButton* B02 = nullptr;
    bool messageResult_ = false;
    bool answered_ = false;
};
