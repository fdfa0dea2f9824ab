#pragma once

#include <QString>

class AutoLoadOption;
class RouteEngine;
class OptionsPanel;

// The ten stored settings: read once while the main window is created, all
// written again whenever one of them changes, and never before start-up has
// finished.
class ProgramSettings {
public:
    ProgramSettings(OptionsPanel& options, AutoLoadOption& notes, AutoLoadOption& ownData,
                    RouteEngine& engine, QString programFolder);

    // Opens the store, reads the ten values in their order with each check
    // box's effect applied (the auto-loads included), closes the store.
    void readSettings();
    // Writes all ten values, once start-up has finished.
    void writeSettings();

    bool settingsReady() const { return ready_; }
    void setSettingsReady() { ready_ = true; }

private:
    QString defaultPath(const char* fileName) const;

    OptionsPanel& options_;
    AutoLoadOption& notes_;
    AutoLoadOption& ownData_;
    RouteEngine& engine_;
    QString programFolder_;
    bool ready_ = false;
};
