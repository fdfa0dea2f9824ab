#include "RouteOptions.h"

#include "QuotedInput.h"

#include <array>
#include <cstddef>
#include <utility>

namespace {

struct RaceCaption {
    const char* caption;
    int number;
};

constexpr std::array<RaceCaption, 6> kRaceCaptions{
    {{"Borons", 1}, {"Teladi", 2}, {"Split", 3}, {"Argons", 4}, {"Paranids", 5}, {"Xenon", 6}}};

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view trimmedBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// Sets the flag of every race in a comma-separated list; the error names
// the first caption that is no race.
std::string addAvoidedRaces(std::string_view list, AvoidFlags& avoid) {
    std::size_t begin = 0;
    for (;;) {
        const auto comma = list.find(',', begin);
        const auto item = trimmedBlanks(list.substr(begin, comma - begin));
        const auto race = raceNumber(item);
        if (!race) {
            return "unknown race \"" + quotedInput(item) +
                   "\" (choose from Argons, Borons, Paranids, Split, Teladi, Xenon)";
        }
        avoid.at(static_cast<std::size_t>(*race - 1)) = true;
        if (comma == std::string_view::npos) {
            return {};
        }
        begin = comma + 1;
    }
}

std::string setFormat(std::string_view name, OutputFormat& format) {
    if (name == "text" || name == "json") {
        format = name == "json" ? OutputFormat::Json : OutputFormat::Text;
        return {};
    }
    return name.empty() ? "option --format needs json or text"
                        : "unknown format \"" + std::string(name) + "\" (choose json or text)";
}

// The value of "--name VALUE" or "--name=VALUE", moving the index past a
// separate value; nullopt when the argument is some other option. A missing
// value comes back empty.
std::optional<std::string>
optionValue(std::string_view name, const std::vector<std::string>& arguments, std::size_t& index) {
    const std::string& argument = arguments[index];
    if (argument == name) {
        return index + 1 < arguments.size() ? arguments[++index] : std::string{};
    }
    const std::string prefix = std::string(name) + "=";
    if (argument.starts_with(prefix)) {
        return argument.substr(prefix.size());
    }
    return std::nullopt;
}

} // namespace

std::optional<int> raceNumber(std::string_view caption) {
    for (const RaceCaption& race : kRaceCaptions) {
        if (equalsIgnoringCase(caption, race.caption)) {
            return race.number;
        }
    }
    return std::nullopt;
}

std::string routeUsage(std::string_view program) {
    return "usage: " + std::string(program) +
           " [--core FILE] [--short] [--avoid RACES] [--least-avoided] [--format FORMAT] [--]"
           " FROM TO";
}

std::string routeHelp(std::string_view program) {
    return routeUsage(program) +
           "\n"
           "Prints the way with the fewest gate jumps from system FROM to system TO,\n"
           "one line per system passed. Names are matched exactly, letter case included,\n"
           "and are read and printed in the locale's encoding (UTF-8 in the C locale).\n"
           "\n"
           "  --core FILE      the core data file (default: the shipped core.vr)\n"
           "  --short          name only the gates to take\n"
           "  --avoid RACES    enter no system of these races, a comma-separated list of\n"
           "                   Argons, Borons, Paranids, Split, Teladi, Xenon\n"
           "  --least-avoided  when no way avoids those races, print the way that enters\n"
           "                   the fewest of their systems (start and target count), the\n"
           "                   shortest of those, and name them on standard error:\n"
           "                   enters N avoided system(s): A, B\n"
           "  --format FORMAT  text (the default) or json: one object with from, to,\n"
           "                   jumps, avoided (the systems of avoided races on the way,\n"
           "                   start and target included) and steps, each a system and\n"
           "                   the gate taken there (null at the target); with no way,\n"
           "                   from, to and \"way\": null. Names in UTF-8; --short has no\n"
           "                   effect on it.\n"
           "  --               ends the options, for names that begin with '-'\n"
           "  --help           shows this text\n"
           "\n"
           "Exit status: 0 a way was printed, 1 there is no way (none that avoids the\n"
           "races, or with --least-avoided none at all), 2 FROM or TO names no system,\n"
           "3 the core data file cannot be read, 64 bad usage, 74 the way cannot be\n"
           "written.\n";
}

RouteArguments parseRouteArguments(const std::vector<std::string>& arguments) {
    RouteArguments result;
    RouteOptions& options = result.options;
    std::vector<std::string> names;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size() && result.ok(); ++i) {
        const std::string& argument = arguments[i];
        // A lone "-" is a name, as is anything after "--".
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            names.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            return result;
        }
        if (argument == "--short") {
            options.shortForm = true;
            continue;
        }
        if (argument == "--least-avoided") {
            options.leastAvoided = true;
            continue;
        }
        if (auto file = optionValue("--core", arguments, i)) {
            options.coreFile = std::move(*file);
            if (options.coreFile.empty()) {
                result.error = "option --core needs a file";
            }
        } else if (auto races = optionValue("--avoid", arguments, i)) {
            result.error = races->empty() ? "option --avoid needs a list of races"
                                          : addAvoidedRaces(*races, options.avoid);
        } else if (auto format = optionValue("--format", arguments, i)) {
            result.error = setFormat(*format, options.format);
        } else {
            result.error = "unknown option " + quotedInput(argument);
        }
    }
    if (!result.ok()) {
        return result;
    }
    if (names.size() != 2) {
        result.error = names.size() < 2 ? "FROM and TO are both needed" : "too many system names";
        return result;
    }
    options.from = std::move(names[0]);
    options.to = std::move(names[1]);
    return result;
}
