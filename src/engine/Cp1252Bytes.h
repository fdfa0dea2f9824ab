#pragma once

// The universe files are 8-bit text as old Windows programs wrote them (code
// page 1252); these are its bytes and characters, one at a time.

// One byte: 0x80..0x9F as code page 1252 has them (its five unassigned bytes
// stay the control characters of the same value), every other byte itself.
char16_t decodeCp1252Byte(unsigned char byte);
// The byte that holds the character in code page 1252 (0..255), or -1 when
// the code page has no such character.
int encodeCp1252Byte(char16_t unit);
