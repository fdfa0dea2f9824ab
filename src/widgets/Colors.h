#pragma once

#include <QColor>
#include <cstdint>

// Colours are kept as the layouts give them, 0x00BBGGRR.
inline QColor fromBgr(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

inline std::uint32_t toBgr(const QColor& color) {
    return static_cast<std::uint32_t>(color.red()) |
           (static_cast<std::uint32_t>(color.green()) << 8) |
           (static_cast<std::uint32_t>(color.blue()) << 16);
}

// The colours the windows share.
namespace Palette {
constexpr std::uint32_t DarkGround = 3158064;  // RGB 48, 48, 48
constexpr std::uint32_t Accent = 3653375;      // RGB 255, 190, 55
constexpr std::uint32_t SubTitle = 39423;      // RGB 255, 153, 0
constexpr std::uint32_t LinkHover = 33023;     // RGB 255, 128, 0
constexpr std::uint32_t OptionText = 12040119; // RGB 183, 183, 183
constexpr std::uint32_t Silver = 0xC0C0C0;
constexpr std::uint32_t Black = 0x000000;
constexpr std::uint32_t White = 0xFFFFFF;
constexpr std::uint32_t Gray = 0x808080;
constexpr std::uint32_t Teal = 0x808000; // RGB 0, 128, 128
constexpr std::uint32_t Red = 0x0000FF;
constexpr std::uint32_t Green = 0x008000;
// Text and marks of a control that takes no input now.
constexpr std::uint32_t Dimmed = 7566195; // RGB 115, 115, 115
} // namespace Palette

// The races' colours on the star map, by the race's name.
namespace RaceColor {
constexpr std::uint32_t Borons = 55807;    // RGB 255, 217, 0
constexpr std::uint32_t Teladi = 16711808; // RGB 128, 0, 255
constexpr std::uint32_t Split = Palette::Teal;
constexpr std::uint32_t Argons = 33023;      // RGB 255, 128, 0
constexpr std::uint32_t Paranids = 16563715; // RGB 3, 190, 252
constexpr std::uint32_t Xenon = Palette::Red;
} // namespace RaceColor
