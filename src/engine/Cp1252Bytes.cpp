#include "Cp1252Bytes.h"

#include <array>

namespace {

// 0x80..0x9F differ from Latin-1; 0 marks the five unassigned bytes, which
// are passed through as the control characters of the same value.
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

int encodeCp1252Byte(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        return unit;
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        const auto byte = static_cast<char16_t>(0x80 + i);
        if (kHighControls[i] == unit || (kHighControls[i] == 0 && unit == byte)) {
            return byte;
        }
    }
    return -1;
}

char16_t decodeCp1252Byte(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        const char16_t mapped = kHighControls[byte - 0x80];
        return mapped != 0 ? mapped : static_cast<char16_t>(byte);
    }
    return static_cast<char16_t>(byte);
}
