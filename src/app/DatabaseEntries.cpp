#include "DatabaseEntries.h"

#include "Cp1252.h"
#include "NodeText.h"

#include <algorithm>

bool isFixedEntry(const std::string& text) {
    return text == OwnDatabaseRoot || raceOfGroup(text) != 0;
}

int raceOfGroup(const std::string& text) {
    const auto group = std::find_if(RaceGroups.begin(), RaceGroups.end(),
                                    [&text](const RaceGroup& g) { return text == g.text; });
    return group == RaceGroups.end() ? 0 : group->race;
}

SectorPosition findSystem(const RouteEngine& engine, const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const SectorPosition exact = engine.findSectorPosition(text);
    if (exact.known()) {
        return exact;
    }
    // The system names are code page 1252; a UTF-8 entry that shows the same
    // name names the same system.
    const QString display = displayText(text);
    const std::string shown = encodeCp1252(display);
    if (shown == text || decodeCp1252(shown) != display) {
        return exact;
    }
    return engine.findSectorPosition(shown);
}

bool isProtectedEntry(const RouteEngine& engine, const std::string& text) {
    return isFixedEntry(text) || findSystem(engine, text).known();
}
