#pragma once
// What the system the tests run on offers, asked at run time, so that a case
// about something Windows has no equivalent for (symbolic links for everyone,
// FIFOs, numeric owners, a display server that may be missing) is skipped
// with its reason, and programs and files of the build are named so that
// the system finds them.

#include <filesystem>
#include <string>
#include <vector>

namespace rillo::testing {

/// A path the build compiled into a test (a program, the examples), whole on
/// this system: a Windows build made on Linux and run under Wine is given
/// paths without a drive, which would name another file once a test has
/// moved to a folder on another drive. Unchanged on POSIX systems.
std::string builtPath(const std::string& path);

/// Whether the system lets a file in the folder be named with the text
/// (Windows refuses double quotes, for one).
bool fileNameWorks(const std::filesystem::path& folder, const std::string& text);

/// Whether symbolic links can be made in the folder: Windows lets only
/// administrators and developers make them, Wine not at all.
bool symbolicLinksWork(const std::filesystem::path& folder);

/// Makes a FIFO at the path; false where the system has none (Windows).
bool makeFifo(const std::string& path);
/// Whether the path is a FIFO itself (not followed through a link).
bool isFifo(const std::string& path);
/// A device that reads and writes as a file ("/dev/null"), or empty where
/// devices are not files of the file system (Windows).
std::string deviceFile();

/// Whether files have numeric owners and groups that this process may give
/// away (root on POSIX; Windows keeps a file's owner by itself).
bool mayGiveFilesAway();
/// Gives the file to the owner and group; false where that cannot be done.
bool giveFile(const std::string& path, unsigned owner, unsigned group);
/// The file's owner and group (0, 0 where there are none).
std::pair<unsigned, unsigned> ownerOf(const std::string& path);

/// Whether a window needs a display server that can be missing (X11,
/// Wayland): Windows always has its desktop.
bool windowsNeedADisplayServer();

/// A command line for std::system that runs the words, each quoted for the
/// system's shell, with the standard output sent to `output` (kept when
/// empty) and the standard error dropped when `quiet`.
std::string commandLine(const std::vector<std::string>& words, const std::string& output = {}, bool quiet = false);

/// Text a console program printed, with CR LF line ends (a Windows
/// program's text mode) read as LF.
std::string withUnixLineEnds(std::string text);

}  // namespace rillo::testing
