#include "StringTokenizer.h"

ENoMoreTokens::ENoMoreTokens()
    : std::runtime_error("No more tokens in specified string") {
}

void TStringTokenizer::Tokenize(const std::string& text) {
    remainder_ = text + divider_;
}

std::string TStringTokenizer::NextToken() {
    // An empty divider never matches: there is nothing to cut at.
    const auto at = divider_.empty() ? std::string::npos : remainder_.find(divider_);
    if (at == std::string::npos) {
        throw ENoMoreTokens();
    }
    std::string token = remainder_.substr(0, at);
    remainder_.erase(0, at + divider_.size());
    return token;
}
