#pragma once

#include <QString>
#include <functional>

// The one standard error box: title "Vantor", the error's text. Every handler
// runs through RunGuarded, so no exception ever crosses a Qt event or signal
// boundary: an error stops the handler, the box shows it, the program goes on.
void ShowErrorBox(const QString& text);

// Runs the handler; returns false when it stopped with an error (already shown).
bool RunGuarded(const std::function<void()>& handler);

// Wraps a handler for connect(): the slot runs it through RunGuarded.
template <typename Handler> auto Guarded(Handler handler) {
    return [handler](auto&&...) {
        RunGuarded(handler);
    };
}

// Tests replace the box to see what it would show; an empty function restores it.
void SetErrorBoxHook(std::function<void(const QString&)> hook);
