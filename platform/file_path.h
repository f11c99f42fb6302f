#pragma once

#include <filesystem>
#include <string>

// Paths travel through the program as std::string: UTF-8 on Windows, the file
// system's own bytes elsewhere. The file chooser returns them so, and every
// file call takes them so.

// Throws std::filesystem::filesystem_error for a name that is not UTF-8 where
// names must be.
std::filesystem::path PathFromString(const std::string& strPath);
std::string PathToString(const std::filesystem::path& path);

// Whether anything has this name, a file, a folder or a device; never throws.
bool FileExists(const std::string& strPath);
