#pragma once

class MainWindow;
class MessageWindow;
class AvoidWindow;
class StarMapWindow;

// The program's four windows: single instances, created at start-up in this
// order and alive until the end; the main window owns the other three.
struct ProgramWindows {
    MainWindow* mainWindow = nullptr;       // main window
    MessageWindow* messageWindow = nullptr; // message window
    AvoidWindow* avoidWindow = nullptr;     // avoid-races window
    StarMapWindow* starMapWindow = nullptr; // star map
};
