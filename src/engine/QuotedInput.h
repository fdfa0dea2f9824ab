#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The most characters of the user's input that a message quotes.
inline constexpr std::size_t kQuotedLength = 80;

// A piece of input (a line of a data file, a value, an argument) as a
// message quotes it, in UTF-8: text that is valid UTF-8 reads as UTF-8,
// any other as code page 1252, the way the trees show their texts. Control
// characters show as \xNN. What does not fit in kQuotedLength characters is
// cut off and "..." follows, so that a line of megabytes or of random bytes
// still gives a short, readable message.
std::string quotedInput(std::string_view bytes);
