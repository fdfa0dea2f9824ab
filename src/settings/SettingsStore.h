#pragma once

// The store behind the ten settings (filled by its own change).
class TSettingsStore {
public:
    TSettingsStore() = default;
};
