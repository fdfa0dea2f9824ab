#pragma once

#include <filesystem>
#include <string_view>

// The folder of the running executable, where the shipped universe lies.
// Asks the kernel first; when that fails, takes the folder of the path the
// program was called by, and the current folder for a bare name.
std::filesystem::path programFolder(std::string_view calledAs);

// The shipped core data file: "core.vr" beside the executable for a copy that
// carries it there (a portable copy or a build); for an installed copy, one
// with an installation's share/vantor folder beside its bin folder, the
// core.vr there.
std::filesystem::path shippedCoreFile(const std::filesystem::path& programFolder);
