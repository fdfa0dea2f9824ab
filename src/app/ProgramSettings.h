#pragma once

#include <QString>

class TAutoLoadOption;
class TNinjaMatrix;
class TOptionsPanel;

// The ten stored settings: read once while the main window is created, all
// written again whenever one of them changes, and never before start-up has
// finished.
class TProgramSettings {
public:
    TProgramSettings(TOptionsPanel& options, TAutoLoadOption& notes, TAutoLoadOption& ownData,
                     TNinjaMatrix& engine, QString programFolder);

    // Opens the store, reads the ten values in their order with each check
    // box's effect applied (the auto-loads included), closes the store.
    void ReadSettings();
    // Writes all ten values, once start-up has finished.
    void UpdateReg();

    bool SettingsReady() const { return ready_; }
    void SetSettingsReady() { ready_ = true; }

private:
    QString DefaultPath(const char* fileName) const;

    TOptionsPanel& options_;
    TAutoLoadOption& notes_;
    TAutoLoadOption& ownData_;
    TNinjaMatrix& engine_;
    QString programFolder_;
    bool ready_ = false;
};
