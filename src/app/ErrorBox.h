#pragma once

#include <QString>
#include <functional>

// The one standard error box: title "Vantor", the error's text, shown by the
// current Desktop. Every handler runs through runGuarded, so no exception
// ever crosses a Qt event or signal boundary: an error stops the handler,
// the box shows it, the program goes on.
void showErrorBox(const QString& text);

// Runs the handler; returns false when it stopped with an error (already
// shown). Every error of ours carries its text in UTF-8.
bool runGuarded(const std::function<void()>& handler);

// Wraps a handler for connect(): the slot runs it through runGuarded.
template <typename Handler> auto guarded(Handler handler) {
    return [handler](auto&&...) {
        runGuarded(handler);
    };
}
