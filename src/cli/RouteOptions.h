#pragma once

#include "RouteEngine.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How the way is printed: the lines of the output box, or one JSON object.
enum class OutputFormat { Text, Json };

// What one vantor-route call asks for.
struct RouteOptions {
    // Empty: the core data file beside the executable.
    std::string coreFile;
    bool shortForm = false;
    AvoidFlags avoid{};
    // When no way avoids the races, the way through the fewest of their systems.
    bool leastAvoided = false;
    OutputFormat format = OutputFormat::Text;
    // The system names as given, in the locale's encoding.
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
