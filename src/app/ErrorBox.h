#pragma once

#include <QString>
#include <functional>

// The one standard error box: title "Vantor", the error's text. Every handler
// runs through runGuarded, so no exception ever crosses a Qt event or signal
// boundary: an error stops the handler, the box shows it, the program goes on.
void showErrorBox(const QString& text);

// Runs the handler; returns false when it stopped with an error (already shown).
bool runGuarded(const std::function<void()>& handler);

// Wraps a handler for connect(): the slot runs it through runGuarded.
template <typename Handler> auto guarded(Handler handler) {
    return [handler](auto&&...) {
        runGuarded(handler);
    };
}

// Tests replace the box to see what it would show; an empty function restores it.
void setErrorBoxHook(std::function<void(const QString&)> hook);
