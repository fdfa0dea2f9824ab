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

std::filesystem::path ShippedCoreFile(const std::filesystem::path& programFolder) {
    const std::filesystem::path beside = programFolder / "core.vr";
    std::error_code error;
    if (std::filesystem::is_regular_file(beside, error)) {
        return beside;
    }
    return (programFolder / ".." / "share" / "vantor" / "core.vr").lexically_normal();
}
