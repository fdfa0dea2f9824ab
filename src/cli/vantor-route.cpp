// vantor-route: the way finder without windows. Prints the way from one
// system to another exactly as the navigation page's output box receives it.

#include "RouteEngine.h"
#include "ProgramFolder.h"
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

    void AppendLine(const std::string& text, bool /*bold*/) override { out_ << text << '\n'; }

private:
    std::ostream& out_;
};

int Complain(const std::string& message, int status) {
    std::cerr << kProgram << ": " << message << '\n';
    return status;
}

// An empty name would match a cell the file leaves undefined; it names no system.
SectorPosition Lookup(const TNinjaMatrix& matrix, const std::string& name) {
    return name.empty() ? SectorPosition{} : matrix.FindSectorPosition(name);
}

bool AvoidsAny(const AvoidFlags& avoid) {
    for (const bool flag : avoid) {
        if (flag) {
            return true;
        }
    }
    return false;
}

int FindAndPrintWay(const RouteOptions& options, const std::string& coreFile) {
    TNinjaMatrix matrix;
    matrix.SetFilename(coreFile);
    try {
        matrix.LoadMatrix();
    } catch (const CoreDataError& error) {
        return Complain(error.what(), kUnreadableCore);
    }
    const SectorPosition from = Lookup(matrix, options.From);
    if (!from.Known()) {
        return Complain("You have entered a wrong \"from-system\". Please correct your entry!",
                        kUnknownSystem);
    }
    const SectorPosition to = Lookup(matrix, options.To);
    if (!to.Known()) {
        return Complain("You have entered a wrong \"to-system\". Please correct your entry!",
                        kUnknownSystem);
    }
    StreamSink sink(std::cout);
    matrix.SetOutPutField(&sink);
    const bool searched =
        matrix.FindWay(from.Column, from.Row, to.Column, to.Row, options.Avoid, options.ShortForm);
    if (!std::cout.flush()) {
        return Complain("cannot write the way to standard output", kCannotWrite);
    }
    if (!searched) {
        return Complain("Navigation Error: the search failed", kNoWay);
    }
    if (!matrix.LastWayStatus().Reached) {
        const std::string why = AvoidsAny(options.Avoid) ? " that avoids the chosen races" : "";
        return Complain("Navigation Error: there is no way from " + options.From + " to " +
                            options.To + why,
                        kNoWay);
    }
    return kWayWritten;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const RouteArguments parsed = ParseRouteArguments(arguments);
    if (!parsed.Ok()) {
        std::cerr << kProgram << ": " << parsed.Error << '\n' << RouteUsage(kProgram) << '\n';
        return kBadUsage;
    }
    const RouteOptions& options = parsed.Options;
    if (options.Help) {
        std::cout << RouteHelp(kProgram);
        return std::cout.flush() ? kWayWritten : kCannotWrite;
    }
    const std::string coreFile =
        options.CoreFile.empty() ? ShippedCoreFile(ProgramFolder(argc > 0 ? argv[0] : "")).string()
                                 : options.CoreFile;
    return FindAndPrintWay(options, coreFile);
}
