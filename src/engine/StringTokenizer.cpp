#include "StringTokenizer.h"

NoMoreTokensError::NoMoreTokensError()
    : std::runtime_error("No more tokens in specified string") {
}

void StringTokenizer::tokenize(const std::string& text) {
    remainder_ = text + divider_;
}

std::string StringTokenizer::nextToken() {
    // An empty divider never matches: there is nothing to cut at.
    const auto at = divider_.empty() ? std::string::npos : remainder_.find(divider_);
    if (at == std::string::npos) {
        throw NoMoreTokensError();
    }
    std::string token = remainder_.substr(0, at);
    remainder_.erase(0, at + divider_.size());
    return token;
}
