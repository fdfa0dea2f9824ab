#pragma once

#include <QString>

// The signs of the message window. showMessage takes any integer: a kind it does
// not know leaves the sign of the last message.
namespace MessageKind {
enum : int { Alert = 0, Question = 1, Notice = 2 };
}

// The one way the pages report to the user and ask their one question.
class Messenger {
public:
    virtual ~Messenger() = default;

    // Shows the message window modally; an empty button caption hides that button.
    virtual void showMessage(const QString& caption, const QString& text, int kind,
                             const QString& leftButton, const QString& rightButton) = 0;
    // The answer to the last question: true for the left button of two.
    virtual bool messageResult() const = 0;

    // A notice with the right-hand "&OK" alone, as every report has it.
    void notify(const QString& caption, const QString& text, int kind) {
        showMessage(caption, text, kind, QString(), QStringLiteral("&OK"));
    }
};
