#pragma once

#include <string>

// Where the way description goes: one call per line, each with its own weight.
class LineSink {
public:
    virtual ~LineSink() = default;

    virtual void appendLine(const std::string& text, bool bold) = 0;
};
