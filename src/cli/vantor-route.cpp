// vantor-route: the way finder without windows. Prints the way from one
// system to another exactly as the navigation page's output box receives it,
// or as JSON for other tools.

#include "ProgramFolder.h"
#include "QuotedInput.h"
#include "RouteEngine.h"
#include "RouteOptions.h"
#include "TextEncoding.h"
#include "WayJson.h"

#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

// Exit statuses, for scripts that call us.
constexpr int kWayWritten = 0;
constexpr int kNoWay = 1;
constexpr int kUnknownSystem = 2;
constexpr int kUnreadableCore = 3;
constexpr int kCannotWrite = 74;
constexpr int kBadUsage = 64;

constexpr const char* kProgram = "vantor-route";

// Writes each line of the way as it is traced, in the locale's encoding;
// the weight has no place on a terminal.
class StreamSink : public LineSink {
public:
    StreamSink(std::ostream& out, const LocaleEncoding& locale)
        : out_(out)
        , locale_(locale) {}

    void appendLine(const std::string& text, bool /*bold*/) override {
        out_ << locale_.fromUtf8(utf8FromCoreText(text)) << '\n';
    }

private:
    std::ostream& out_;
    const LocaleEncoding& locale_;
};

int complain(const std::string& message, int status) {
    std::cerr << kProgram << ": " << message << '\n';
    return status;
}

// The name as given first, then the same text as the file may hold it: in
// UTF-8 or in Windows-1252. An empty name would match a cell the file leaves
// undefined; it names no system.
SectorPosition lookup(const RouteEngine& matrix, const std::string& name,
                      const LocaleEncoding& locale) {
    if (name.empty()) {
        return {};
    }
    SectorPosition found = matrix.findSectorPosition(name);
    const std::string utf8 = locale.toUtf8(name);
    if (!found.known()) {
        found = matrix.findSectorPosition(utf8);
    }
    if (const auto cp1252 = cp1252FromUtf8(utf8); !found.known() && cp1252) {
        found = matrix.findSectorPosition(*cp1252);
    }
    return found;
}

bool avoidsAny(const AvoidFlags& avoid) {
    for (const bool flag : avoid) {
        if (flag) {
            return true;
        }
    }
    return false;
}

// "enters 2 avoided system(s): A, B", in way order.
std::string avoidedReport(const RouteEngine& matrix, const PlannedWay& way,
                          const LocaleEncoding& locale) {
    std::string report = "enters " + std::to_string(way.avoided.size()) + " avoided system(s): ";
    for (std::size_t i = 0; i < way.avoided.size(); ++i) {
        const SectorPosition s = way.avoided[i];
        report += (i > 0 ? ", " : "") +
                  locale.fromUtf8(utf8FromCoreText(matrix.sectorAt(s.column, s.row).name));
    }
    return report;
}

// What the search found.
struct Found {
    // False when an error arose inside the search.
    bool searched = false;
    // A way was found, and for text written.
    bool reached = false;
    // ... and it is the least-avoided one, no way avoiding the races.
    bool leastAvoided = false;
    // The way's sectors, for JSON and the report of the avoided systems.
    std::optional<PlannedWay> plan;
};

// The way that avoids the races; with leastAvoided, when there is none, the
// way through the fewest of their systems. Text goes to the sink as it is
// traced. JSON takes the sectors from the plan, which is findWay's way
// wherever that finds one.
Found search(RouteEngine& matrix, SectorPosition from, SectorPosition to,
             const RouteOptions& options) {
    Found found;
    found.searched =
        matrix.findWay(from.column, from.row, to.column, to.row, options.avoid, options.shortForm);
    found.reached = found.searched && matrix.lastWayStatus().reached;
    const bool json = options.format == OutputFormat::Json;
    const bool fallBack = !found.reached && options.leastAvoided;
    if (!found.searched || !(json || fallBack)) {
        return found;
    }
    found.plan =
        matrix.planLeastAvoidedWay(from.column, from.row, to.column, to.row, options.avoid);
    found.leastAvoided = fallBack && found.plan.has_value();
    if (json) {
        found.reached = (found.reached || found.leastAvoided) && found.plan.has_value();
    } else if (found.leastAvoided) {
        found.searched = matrix.findLeastAvoidedWay(from.column, from.row, to.column, to.row,
                                                    options.avoid, options.shortForm);
        found.reached = found.searched && matrix.lastWayStatus().reached;
    }
    return found;
}

int findAndPrintWay(const RouteOptions& options, const std::string& coreFile) {
    const LocaleEncoding locale = LocaleEncoding::fromEnvironment();
    RouteEngine matrix;
    matrix.setFilename(coreFile);
    try {
        matrix.loadMatrix();
    } catch (const CoreDataError& error) {
        return complain(error.what(), kUnreadableCore);
    }
    const SectorPosition from = lookup(matrix, options.from, locale);
    if (!from.known()) {
        return complain("You have entered a wrong \"from-system\". Please correct your entry!",
                        kUnknownSystem);
    }
    const SectorPosition to = lookup(matrix, options.to, locale);
    if (!to.known()) {
        return complain("You have entered a wrong \"to-system\". Please correct your entry!",
                        kUnknownSystem);
    }
    const bool json = options.format == OutputFormat::Json;
    StreamSink sink(std::cout, locale);
    matrix.setOutputField(json ? nullptr : &sink);
    const Found found = search(matrix, from, to, options);
    if (json) {
        std::cout << wayJson(matrix, from, to, found.reached ? &*found.plan : nullptr) << '\n';
    }
    if (!std::cout.flush()) {
        return complain("cannot write the way to standard output", kCannotWrite);
    }
    if (!found.searched) {
        return complain("Navigation Error: the search failed", kNoWay);
    }
    if (!found.reached) {
        const std::string why = avoidsAny(options.avoid) ? " that avoids the chosen races" : "";
        return complain("Navigation Error: there is no way from " + quotedInput(options.from) +
                            " to " + quotedInput(options.to) + why,
                        kNoWay);
    }
    if (found.leastAvoided) {
        std::cerr << avoidedReport(matrix, *found.plan, locale) << '\n';
    }
    return kWayWritten;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const RouteArguments parsed = parseRouteArguments(arguments);
    if (!parsed.ok()) {
        std::cerr << kProgram << ": " << parsed.error << '\n' << routeUsage(kProgram) << '\n';
        return kBadUsage;
    }
    const RouteOptions& options = parsed.options;
    if (options.help) {
        std::cout << routeHelp(kProgram);
        return std::cout.flush() ? kWayWritten : kCannotWrite;
    }
    const std::string coreFile =
        options.coreFile.empty() ? shippedCoreFile(programFolder(argc > 0 ? argv[0] : "")).string()
                                 : options.coreFile;
    return findAndPrintWay(options, coreFile);
}
