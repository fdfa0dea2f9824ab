#include "ProgramFolder.h"

#include <system_error>

std::filesystem::path ProgramFolder(std::string_view calledAs) {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && executable.has_parent_path()) {
        return executable.parent_path();
    }
    const std::filesystem::path called(calledAs);
    return called.has_parent_path() ? called.parent_path() : std::filesystem::path(".");
}
