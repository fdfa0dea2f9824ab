#pragma once

#include <QString>

class AutoLoadOption;
class RouteEngine;
class OptionsPanel;

// The notepad's and the own database's auto-load options, named at the call
// so that the two can never change places unnoticed.
struct AutoLoadOptions {
    AutoLoadOption& notes;
    AutoLoadOption& ownData;
};

// The ten stored settings: read once while the main window is created, all
// written again whenever one of them changes, and never before start-up has
// finished.
class ProgramSettings {
public:
    ProgramSettings(OptionsPanel& options, AutoLoadOptions autoLoads, RouteEngine& engine,
                    QString programFolder);

    // Opens the store, reads the ten values in their order with each check
    // box's effect applied (the auto-loads included), closes the store.
    void readSettings();
    // Writes all ten values, once start-up has finished.
    void writeSettings();

    void setSettingsReady() { ready_ = true; }

private:
    // The tests ask whether start-up has finished through it.
    friend class ProgramAccess;

    QString defaultPath(const char* fileName) const;

    OptionsPanel& options_;
    AutoLoadOptions autoLoads_;
    RouteEngine& engine_;
    QString programFolder_;
    bool ready_ = false;
};
