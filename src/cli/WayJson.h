#pragma once

#include "RouteEngine.h"

#include <string>
#include <string_view>

// UTF-8 text as a JSON string: in quotes, with quotes, backslashes and
// control characters escaped.
std::string jsonString(std::string_view utf8);

// The way as one JSON object on one line: from, to, jumps, the avoided
// systems on it and the steps, each a system and the gate taken there (null
// at the target). Without a way: from, to and "way": null. Names in UTF-8.
std::string wayJson(const RouteEngine& matrix, SectorPosition from, SectorPosition to,
                    const PlannedWay* way);
