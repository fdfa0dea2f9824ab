#pragma once

#include <filesystem>
#include <string_view>

// The folder of the running executable, where the shipped universe lies.
// Asks the kernel first; when that fails, takes the folder of the path the
// program was called by, and the current folder for a bare name.
std::filesystem::path ProgramFolder(std::string_view calledAs);
