#pragma once

#include "MainWindow.h"
#include "ProgramWindows.h"
#include "WindowStrip.h"

#include <memory>

class QApplication;

// Before the application exists: in a Wayland session where no platform was
// chosen, run on XWayland, where windows can be placed side by side.
void preferXcbUnderWayland(int argc, char** argv);

// The application's title and icon.
void configureApplication(QApplication& application);

// The start-up sequence: the main window first (its creation reads the
// settings and the system database), then the message window, the avoid-races
// window and the star map; none of them shown yet.
class VantorProgram {
public:
    explicit VantorProgram(StartOptions options);
    ~VantorProgram();
    VantorProgram(const VantorProgram&) = delete;
    VantorProgram& operator=(const VantorProgram&) = delete;

    // The event loop's first act: shows the main window (finishStartupOnFirstShow, then
    // FormActivate).
    void showMainWindow();

    ProgramWindows& windows() { return windows_; }
    WindowStrip& strip() { return strip_; }

    // The executable's folder with a trailing separator.
    static QString defaultProgramFolder();

private:
    // The row outlives the windows it places.
    WindowStrip strip_;
    // The main window owns the other three.
    std::unique_ptr<MainWindow> main_;
    ProgramWindows windows_;
};
