#pragma once

// The code pages that RTF text comes in, and how their bytes become
// characters. Internal to the RTF reader (RtfReader.cpp): callers include
// RtfReader.h.

#include <QString>
#include <QStringDecoder>

#include <array>
#include <memory>

namespace RtfInternal {

// What bytes and code units that make no character become.
inline constexpr char16_t kReplacement = 0xFFFD;

// The fonts whose bytes are symbols rather than letters (\fcharset2): the
// Symbol font, and Wingdings for its bullets. \fcharset2 itself stands for
// them until the font's name is known.
inline constexpr int kSymbolCharset = -1;
inline constexpr int kSymbolCodePage = -2;
inline constexpr int kWingdingsCodePage = -3;

// How the bytes of one code page become characters.
struct CodePage {
    bool multiByte = false;
    bool symbol = false; // U+F020..U+F0FF stand for the bytes 0x20..0xFF
    std::array<char16_t, 256> table{};
    QStringDecoder decoder;
};

// The code page of a font's \fcharset: 1252 for the ANSI set, kSymbolCharset
// for the symbol set, 0 for the document's own (\ansicpg).
int charsetCodePage(int charset);

// The code page of a symbol font of that name; 0 when we don't know it.
int symbolFontCodePage(const QString& name);

// The characters of a Windows code page number (or of kSymbolCodePage,
// kWingdingsCodePage); a code page that Qt cannot decode is read as 1252.
std::unique_ptr<CodePage> makeCodePage(int codePage);

} // namespace RtfInternal
