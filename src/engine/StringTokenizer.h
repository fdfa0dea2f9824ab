#pragma once

#include <stdexcept>
#include <string>

// Raised when no separator is left in what remains to be cut.
class NoMoreTokensError : public std::runtime_error {
public:
    NoMoreTokensError();
};

// Cuts a text into pieces at a separator text; used to take the system name
// off a line of the way description.
class StringTokenizer {
public:
    const std::string& divider() const { return divider_; }
    void setDivider(std::string divider) { divider_ = std::move(divider); }

    // Remainder becomes the text followed by one divider, so the first
    // nextToken always succeeds, even on a text without a separator.
    void tokenize(const std::string& text);

    // The piece before the next separator; throws NoMoreTokensError when none is
    // left, leaving the remainder untouched.
    std::string nextToken();

    const std::string& remainder() const { return remainder_; }

private:
    std::string divider_;
    std::string remainder_;
};
