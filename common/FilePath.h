#pragma once
// File names as the program keeps them (UTF-8 text) and as std::filesystem
// keeps them. A narrow string handed to std::filesystem is read in the C
// library's code page on Windows, which is not UTF-8: a folder named with an
// accent would become another folder. These two conversions say UTF-8.

#include <filesystem>
#include <string>
#include <string_view>

namespace rillo {

/// The path of a file name in UTF-8.
inline std::filesystem::path filePath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

/// A path's name in UTF-8.
inline std::string fileText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace rillo
