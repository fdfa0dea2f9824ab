// The core data loader on any bytes, then way searches over what it loaded.
// Loading may refuse a line only with CoreDataError; nothing may crash, hang
// or leak. A way that was reached ends at the target and has one line for
// each sector its start's label counts; an avoided start has no label of its
// own, and its way leaves it for the nearest labelled neighbour.
#include "RouteEngine.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class LastLine : public LineSink {
public:
    void appendLine(const std::string& text, bool) override { last = text; }
    std::string last;
};

// The loader reads a file by name: the bytes go into an anonymous file that
// lives in memory only.
std::string inMemoryFile(const std::uint8_t* data, std::size_t size, int& fd) {
    fd = memfd_create("core.vr", 0);
    if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size)) {
        std::perror("memfd");
        std::abort();
    }
    return "/proc/self/fd/" + std::to_string(fd);
}

void checkWays(RouteEngine& engine) {
    LastLine sink;
    engine.setOutputField(&sink);
    const AvoidFlags avoid{false, false, false, false, false, true};
    for (int target = 0; target < RouteEngine::CellCount; target += 9) {
        for (int start = 0; start < RouteEngine::CellCount; start += 7) {
            const int sx = start / 8, sy = start % 8, tx = target / 8, ty = target % 8;
            for (const bool avoiding : {false, true}) {
                if (!engine.findWay(sx, sy, tx, ty, avoiding ? avoid : AvoidFlags{}, false)) {
                    std::fputs("a search on the grid failed\n", stderr);
                    std::abort();
                }
                const WayStatus& status = engine.lastWayStatus();
                const bool startAvoided = avoiding && engine.sectorAt(sx, sy).race == 6;
                const bool lengthRight =
                    startAvoided ? status.linesWritten <= RouteEngine::CellCount
                                 : status.linesWritten == engine.sectorAt(sx, sy).distance;
                if (status.reached && (!lengthRight || sink.last != engine.sectorAt(tx, ty).name)) {
                    std::fputs("a reached way has the wrong length or end\n", stderr);
                    std::abort();
                }
            }
        }
    }
    engine.setOutputField(nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    int fd = -1;
    RouteEngine engine;
    engine.setFilename(inMemoryFile(data, size, fd));
    try {
        engine.loadMatrix();
    } catch (const CoreDataError&) {
        // The cells read before the bad line keep their values: search them too.
    }
    close(fd);
    checkWays(engine);
    return 0;
}
