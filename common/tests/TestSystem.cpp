#include "TestSystem.h"

#include "FilePath.h"

#include <fstream>
#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace rillo::testing {

namespace fs = std::filesystem;

namespace {

/// The folder the test program started in, before any test moved.
const fs::path startFolder = fs::current_path();

std::string quoted(const std::string& word) {
    std::string out = "\"";
    for (char c : word) {
#ifndef _WIN32
        if (c == '"' || c == '\\' || c == '$' || c == '`') out += '\\';
#endif
        out += c;
    }
    return out + "\"";
}

}  // namespace

std::string builtPath(const std::string& path) {
    const fs::path p = filePath(path);
    if (p.has_root_directory() && !p.has_root_name()) return fileText(startFolder.root_name() / p);
    return path;
}

bool fileNameWorks(const fs::path& folder, const std::string& text) {
    const fs::path probe = folder / filePath("name-probe " + text);
    std::error_code ec;
    if (!std::ofstream(probe).is_open()) return false;
    fs::remove(probe, ec);
    return true;
}

bool symbolicLinksWork(const fs::path& folder) {
    const fs::path probe = folder / "symbolic-link-probe";
    std::error_code ec;
    fs::create_symlink("nowhere", probe, ec);
    const bool works = !ec && fs::is_symlink(fs::symlink_status(probe, ec));
    fs::remove(probe, ec);
    return works;
}

#ifdef _WIN32

bool makeFifo(const std::string&) { return false; }
bool isFifo(const std::string&) { return false; }
std::string deviceFile() { return {}; }
bool mayGiveFilesAway() { return false; }
bool giveFile(const std::string&, unsigned, unsigned) { return false; }
std::pair<unsigned, unsigned> ownerOf(const std::string&) { return {0, 0}; }
bool windowsNeedADisplayServer() { return false; }

std::string commandLine(const std::vector<std::string>& words, const std::string& output, bool quiet) {
    std::string line;
    for (const std::string& word : words) line += (line.empty() ? "" : " ") + quoted(word);
    if (!output.empty()) line += " > " + quoted(output);
    if (quiet) line += " 2> NUL";
    // cmd.exe takes off the first and the last quote of a line that starts
    // with one; the line's own quotes stay inside a pair of its own.
    return "\"" + line + "\"";
}

#else

bool makeFifo(const std::string& path) { return mkfifo(path.c_str(), 0644) == 0; }

bool isFifo(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

std::string deviceFile() { return "/dev/null"; }
bool mayGiveFilesAway() { return geteuid() == 0; }
bool giveFile(const std::string& path, unsigned owner, unsigned group) {
    return chown(path.c_str(), owner, group) == 0;
}

std::pair<unsigned, unsigned> ownerOf(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return {0, 0};
    return {st.st_uid, st.st_gid};
}

bool windowsNeedADisplayServer() { return true; }

std::string commandLine(const std::vector<std::string>& words, const std::string& output, bool quiet) {
    std::string line;
    for (const std::string& word : words) line += (line.empty() ? "" : " ") + quoted(word);
    if (!output.empty()) line += " > " + quoted(output);
    if (quiet) line += " 2>/dev/null";
    return line;
}

#endif

std::string withUnixLineEnds(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

}  // namespace rillo::testing
