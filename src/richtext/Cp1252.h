#pragma once

#include "Cp1252Bytes.h"

#include <QString>
#include <string>
#include <string_view>

// The universe files are 8-bit text as old Windows programs wrote them
// (code page 1252). The engine keeps the bytes; the windows show them.
QString decodeCp1252(std::string_view bytes);
// Characters that code page 1252 cannot hold become '?', so such a name can
// never match a system by accident.
std::string encodeCp1252(const QString& text);
