#pragma once

#include "RouteEngine.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What one vantor-route call asks for.
struct RouteOptions {
    // Empty: the core data file beside the executable.
    std::string CoreFile;
    bool ShortForm = false;
    AvoidFlags Avoid{};
    // The system names as given, bytes unchanged.
    std::string From;
    std::string To;
    bool Help = false;
};

// The outcome of reading the arguments: the options, or why they are bad usage.
struct RouteArguments {
    RouteOptions Options;
    std::string Error;

    bool Ok() const { return Error.empty(); }
};

// Reads the arguments behind the program name.
RouteArguments ParseRouteArguments(const std::vector<std::string>& arguments);

// The race number of a caption such as "Xenon", letter case ignored.
std::optional<int> RaceNumber(std::string_view caption);

// The one-line synopsis, naming the program as it was called.
std::string RouteUsage(std::string_view program);

// The synopsis followed by what each option and exit status means.
std::string RouteHelp(std::string_view program);
