#pragma once

// The code pages that RTF text comes in, and how their bytes become
// characters. Internal to the RTF reader (RtfReader.cpp): callers include
// RtfReader.h.

#include <QStringDecoder>

#include <array>
#include <memory>

namespace RtfInternal {

// What bytes and code units that make no character become.
inline constexpr char16_t kReplacement = 0xFFFD;

// How the bytes of one code page become characters.
struct CodePage {
    bool multiByte = false;
    std::array<char16_t, 256> table{};
    QStringDecoder decoder;
};

// The code page of a font's \fcharset; 0 for the document's own (\ansicpg).
int charsetCodePage(int charset);

// The characters of a Windows code page number; a code page that Qt cannot
// decode is read as 1252.
std::unique_ptr<CodePage> makeCodePage(int codePage);

} // namespace RtfInternal
