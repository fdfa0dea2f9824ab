#pragma once

#include "RouteEngine.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What one vantor-route call asks for.
struct RouteOptions {
    // Empty: the core data file beside the executable.
    std::string coreFile;
    bool shortForm = false;
    AvoidFlags avoid{};
    // The system names as given, bytes unchanged.
    std::string from;
    std::string to;
    bool help = false;
};

// The outcome of reading the arguments: the options, or why they are bad usage.
struct RouteArguments {
    RouteOptions options;
    std::string error;

    bool ok() const { return error.empty(); }
};

// Reads the arguments behind the program name.
RouteArguments parseRouteArguments(const std::vector<std::string>& arguments);

// The race number of a caption such as "Xenon", letter case ignored.
std::optional<int> raceNumber(std::string_view caption);

// The one-line synopsis, naming the program as it was called.
std::string routeUsage(std::string_view program);

// The synopsis followed by what each option and exit status means.
std::string routeHelp(std::string_view program);
