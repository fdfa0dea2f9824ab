#pragma once

#include <QString>

// The signs of the message window. showMessage takes any integer: a kind it does
// not know leaves the sign of the last message.
namespace MessageKind {
enum : int { Alert = 0, Question = 1, Notice = 2 };
}

// The answer to a question with two named answers: the first (left) button,
// the second (right) one, or neither when the window was closed otherwise
// (Escape, the system's close command).
enum class Choice { First, Second, Neither };

// The one way the pages report to the user and ask their questions.
class Messenger {
public:
    virtual ~Messenger() = default;

    // Shows the message window modally; an empty button caption hides that button.
    virtual void showMessage(const QString& caption, const QString& text, int kind,
                             const QString& leftButton, const QString& rightButton) = 0;
    // The answer to the last question: true for the left button of two.
    virtual bool messageResult() const = 0;
    // Asks a question whose first answer is the one that loses nothing: its
    // button has the keyboard.
    virtual Choice choose(const QString& caption, const QString& text, int kind,
                          const QString& first, const QString& second) = 0;

    // A notice with the right-hand "&OK" alone, as every report has it.
    void notify(const QString& caption, const QString& text, int kind) {
        showMessage(caption, text, kind, QString(), QStringLiteral("&OK"));
    }
};
