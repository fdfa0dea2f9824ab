#include "ProgramFolder.h"

#include <system_error>

std::filesystem::path programFolder(std::string_view calledAs) {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && executable.has_parent_path()) {
        return executable.parent_path();
    }
    const std::filesystem::path called(calledAs);
    return called.has_parent_path() ? called.parent_path() : std::filesystem::path(".");
}

std::filesystem::path shippedCoreFile(const std::filesystem::path& programFolder) {
    const std::filesystem::path beside = programFolder / "core.vr";
    const std::filesystem::path share =
        (programFolder / ".." / "share" / "vantor").lexically_normal();
    std::error_code error;
    const bool installed = !std::filesystem::is_regular_file(beside, error) &&
                           std::filesystem::is_directory(share, error);
    return installed ? share / "core.vr" : beside;
}
