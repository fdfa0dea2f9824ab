#pragma once

#include "RouteEngine.h"

#include <array>
#include <string>

// The skeleton of the own database: the root, the five race groups, and
// the names of the universe's systems. Entries with these texts are what
// the star map can show, and in the own database they can be neither
// renamed nor deleted.

inline constexpr const char* OwnDatabaseRoot = "The Zenit-Database of the starsystems";

struct RaceGroup {
    const char* text;
    int race;
};

// In the order the default own database appends them.
inline constexpr std::array<RaceGroup, 5> RaceGroups{{
    {"Argons", 4},
    {"Borons", 1},
    {"Paranids", 5},
    {"Split", 3},
    {"Teladi", 2},
}};

// The root or a race group, compared byte for byte.
bool isFixedEntry(const std::string& text);

// The race a group entry collects; 0 for any other text.
int raceOfGroup(const std::string& text);

// The system an entry names, by its exact bytes or, for an entry read from
// a UTF-8 file, by the text it shows. An empty entry names no system, even
// where the core data file leaves cells without a name.
SectorPosition findSystem(const RouteEngine& engine, const std::string& text);

// A fixed entry or the name of a system.
bool isProtectedEntry(const RouteEngine& engine, const std::string& text);
