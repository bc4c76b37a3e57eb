#pragma once
// A fresh scratch folder per test, and whole files written and read, for the
// tests of every folder.

#include "FilePath.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace rillo::testing {

/// A fresh folder under the system's temporary folder, removed at the end
/// (also when a test left it or its files read-only).
class TempFolder {
public:
    TempFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / ("rillo-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        for (const auto& e : std::filesystem::recursive_directory_iterator(path_, ec))
            std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    /// The folder with a trailing separator (the system's), as the run form
    /// and the file dialogs keep folders.
    std::string folder() const {
        return fileText(path_) + static_cast<char>(std::filesystem::path::preferred_separator);
    }
    std::string file(const std::string& name) const { return fileText(path_ / filePath(name)); }
    /// Writes a file in the folder and returns its path.
    std::string write(const std::string& name, const std::string& text) const;
    /// Names of the files in the folder, sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(path_)) out.push_back(fileText(e.path().filename()));
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    std::filesystem::path path_;
};

inline void writeFile(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(filePath(path).parent_path());
    std::ofstream(filePath(path), std::ios::binary) << text;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(filePath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// Copies a file over another. (std::filesystem::copy_file's overwrite is
/// not used: MinGW's takes any two files on Windows for one and refuses.)
inline void copyOver(const std::string& from, const std::string& to) {
    std::filesystem::remove(filePath(to));
    std::filesystem::copy_file(filePath(from), filePath(to));
}

inline std::string TempFolder::write(const std::string& name, const std::string& text) const {
    writeFile(file(name), text);
    return file(name);
}

}  // namespace rillo::testing
