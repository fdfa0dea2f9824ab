#pragma once

#include <QString>
#include <string>
#include <string_view>

// The universe files are 8-bit text as old Windows programs wrote them
// (code page 1252). The engine keeps the bytes; the windows show them.
QString decodeCp1252(std::string_view bytes);
// One byte: 0x80..0x9F as code page 1252 has them (its five unassigned bytes
// stay the control characters of the same value), every other byte itself.
char16_t decodeCp1252Byte(unsigned char byte);
// Characters that code page 1252 cannot hold become '?', so such a name can
// never match a system by accident.
std::string encodeCp1252(const QString& text);
// The byte that holds the character in code page 1252 (0..255), or -1 when
// the code page has no such character.
int encodeCp1252Byte(char16_t unit);
