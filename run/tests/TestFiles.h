#pragma once
// Scratch folders and small deck files for the run tests.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace rillo::run::testing {

/// A fresh folder under the system's temporary folder, removed at the end.
class TempFolder {
public:
    TempFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / ("rillo-run-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    /// The folder with a trailing separator, as the run form keeps folders.
    std::string folder() const { return path_.string() + "/"; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline void writeFile(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool exists(const std::string& path) { return std::filesystem::exists(path); }

/// The first lines of a deck with the given IOPT digit, CR LF line ends.
inline std::string deckText(char iopt) {
    return std::string("   2   1   1   2\r\n   3   4\r\nWATERSHED   ") + iopt + "\r\nTITLE\r\n";
}

}  // namespace rillo::run::testing
