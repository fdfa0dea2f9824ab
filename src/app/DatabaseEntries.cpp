#include "DatabaseEntries.h"

#include "Cp1252.h"
#include "NodeText.h"

#include <algorithm>

bool IsFixedEntry(const std::string& text) {
    return text == OwnDatabaseRoot || RaceOfGroup(text) != 0;
}

int RaceOfGroup(const std::string& text) {
    const auto group = std::find_if(RaceGroups.begin(), RaceGroups.end(),
                                    [&text](const TRaceGroup& g) { return text == g.Text; });
    return group == RaceGroups.end() ? 0 : group->Race;
}

SectorPosition FindSystem(const TNinjaMatrix& engine, const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const SectorPosition exact = engine.FindSectorPosition(text);
    if (exact.Known()) {
        return exact;
    }
    // The system names are code page 1252; a UTF-8 entry that shows the same
    // name names the same system.
    const QString display = DisplayText(text);
    const std::string shown = EncodeCp1252(display);
    if (shown == text || DecodeCp1252(shown) != display) {
        return exact;
    }
    return engine.FindSectorPosition(shown);
}

bool IsProtectedEntry(const TNinjaMatrix& engine, const std::string& text) {
    return IsFixedEntry(text) || FindSystem(engine, text).Known();
}
