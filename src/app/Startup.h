#pragma once

#include "WindowStrip.h"
#include "ProgramWindows.h"
#include "MainWindow.h"

#include <memory>

class QApplication;

// Before the application exists: in a Wayland session where no platform was
// chosen, run on XWayland, where windows can be placed side by side.
void PreferXcbUnderWayland(int argc, char** argv);

// The application's title and icon.
void ConfigureApplication(QApplication& application);

// The start-up sequence: the main window first (its creation reads the
// settings and the system database), then the message window, the avoid-races
// window and the star map; none of them shown yet.
class TVantorProgram {
public:
    explicit TVantorProgram(TStartOptions options);
    ~TVantorProgram();
    TVantorProgram(const TVantorProgram&) = delete;
    TVantorProgram& operator=(const TVantorProgram&) = delete;

    // The event loop's first act: shows the main window (FormShow, then FormActivate).
    void ShowMainWindow();

    TWindows& Windows() { return windows_; }
    TWindowStrip& Strip() { return strip_; }

    // The executable's folder with a trailing separator.
    static QString DefaultProgramFolder();

private:
    // The row outlives the windows it places.
    TWindowStrip strip_;
    // The main window owns the other three.
    std::unique_ptr<TForm1> main_;
    TWindows windows_;
};
