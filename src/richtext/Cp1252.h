#pragma once

#include <QString>
#include <string>

// The universe files are 8-bit text as old Windows programs wrote them
// (code page 1252). The engine keeps the bytes; the windows show them.
QString DecodeCp1252(const std::string& bytes);
// Characters that code page 1252 cannot hold become '?', so such a name can
// never match a system by accident.
std::string EncodeCp1252(const QString& text);
