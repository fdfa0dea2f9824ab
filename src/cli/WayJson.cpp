#include "WayJson.h"

#include "TextEncoding.h"

#include <array>
#include <cstdio>

namespace {

std::string systemName(const RouteEngine& matrix, SectorPosition sector) {
    return jsonString(utf8FromCoreText(matrix.sectorAt(sector.column, sector.row).name));
}

// The gate that leads from one sector of a way to the next.
const char* gateWord(SectorPosition from, SectorPosition to) {
    const int dx = to.column - from.column;
    const int dy = to.row - from.row;
    if (dy < 0) {
        return "\"north\"";
    }
    if (dx < 0) {
        return "\"west\"";
    }
    return dy > 0 ? "\"south\"" : "\"east\"";
}

} // namespace

std::string jsonString(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (byte < 0x20) {
            std::array<char, 8> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\u%04x", byte);
            out.append(escaped.data());
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
    return out;
}

std::string wayJson(const RouteEngine& matrix, SectorPosition from, SectorPosition to,
                    const PlannedWay* way) {
    std::string json =
        "{\"from\": " + systemName(matrix, from) + ", \"to\": " + systemName(matrix, to);
    if (way == nullptr) {
        return json + ", \"way\": null}";
    }
    json += ", \"jumps\": " + std::to_string(way->jumps()) + ", \"avoided\": [";
    for (std::size_t i = 0; i < way->avoided.size(); ++i) {
        json += (i > 0 ? ", " : "") + systemName(matrix, way->avoided[i]);
    }
    json += "], \"steps\": [";
    const auto& sectors = way->sectors;
    for (std::size_t i = 0; i < sectors.size(); ++i) {
        json += (i > 0 ? ", {\"system\": " : "{\"system\": ") + systemName(matrix, sectors[i]) +
                ", \"gate\": " +
                (i + 1 < sectors.size() ? gateWord(sectors[i], sectors[i + 1]) : "null") + "}";
    }
    return json + "]}";
}
