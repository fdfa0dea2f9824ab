#pragma once

#include <stdexcept>
#include <string>

// Raised when no separator is left in what remains to be cut.
class ENoMoreTokens : public std::runtime_error {
public:
    ENoMoreTokens();
};

// Cuts a text into pieces at a separator text; used to take the system name
// off a line of the way description.
class TStringTokenizer {
public:
    const std::string& Divider() const { return divider_; }
    void SetDivider(std::string divider) { divider_ = std::move(divider); }

    // Remainder becomes the text followed by one divider, so the first
    // NextToken always succeeds, even on a text without a separator.
    void Tokenize(const std::string& text);

    // The piece before the next separator; throws ENoMoreTokens when none is
    // left, leaving the remainder untouched.
    std::string NextToken();

    const std::string& Remainder() const { return remainder_; }

private:
    std::string divider_;
    std::string remainder_;
};
