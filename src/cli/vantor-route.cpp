// vantor-route: the way finder without windows. Prints the way from one
// system to another exactly as the navigation page's output box receives it.

#include "ProgramFolder.h"
#include "QuotedInput.h"
#include "RouteEngine.h"
#include "RouteOptions.h"

#include <iostream>
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

// Writes each line of the way as it is traced; the weight has no place on
// a terminal.
class StreamSink : public LineSink {
public:
    explicit StreamSink(std::ostream& out)
        : out_(out) {}

    void appendLine(const std::string& text, bool /*bold*/) override { out_ << text << '\n'; }

private:
    std::ostream& out_;
};

int complain(const std::string& message, int status) {
    std::cerr << kProgram << ": " << message << '\n';
    return status;
}

// An empty name would match a cell the file leaves undefined; it names no system.
SectorPosition lookup(const RouteEngine& matrix, const std::string& name) {
    return name.empty() ? SectorPosition{} : matrix.findSectorPosition(name);
}

bool avoidsAny(const AvoidFlags& avoid) {
    for (const bool flag : avoid) {
        if (flag) {
            return true;
        }
    }
    return false;
}

int findAndPrintWay(const RouteOptions& options, const std::string& coreFile) {
    RouteEngine matrix;
    matrix.setFilename(coreFile);
    try {
        matrix.loadMatrix();
    } catch (const CoreDataError& error) {
        return complain(error.what(), kUnreadableCore);
    }
    const SectorPosition from = lookup(matrix, options.from);
    if (!from.known()) {
        return complain("You have entered a wrong \"from-system\". Please correct your entry!",
                        kUnknownSystem);
    }
    const SectorPosition to = lookup(matrix, options.to);
    if (!to.known()) {
        return complain("You have entered a wrong \"to-system\". Please correct your entry!",
                        kUnknownSystem);
    }
    StreamSink sink(std::cout);
    matrix.setOutputField(&sink);
    const bool searched =
        matrix.findWay(from.column, from.row, to.column, to.row, options.avoid, options.shortForm);
    if (!std::cout.flush()) {
        return complain("cannot write the way to standard output", kCannotWrite);
    }
    if (!searched) {
        return complain("Navigation Error: the search failed", kNoWay);
    }
    if (!matrix.lastWayStatus().reached) {
        const std::string why = avoidsAny(options.avoid) ? " that avoids the chosen races" : "";
        return complain("Navigation Error: there is no way from " + quotedInput(options.from) +
                            " to " + quotedInput(options.to) + why,
                        kNoWay);
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
