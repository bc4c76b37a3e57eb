#pragma once
// Outputs are written to a temporary beside their final path and renamed
// when whole, so a cut run never leaves a half-written file under the name.

#include <string>

namespace rillo::model {

/// A name beside `path` that no file has yet ("<path>.part", else
/// "<path>.part2", ...), so that writing it destroys nothing of the user's.
std::string temporaryBeside(const std::string& path);

/// Puts the temporary in place of the file at `path`, which may be there
/// (an earlier run's output): false when it could not. Windows' own rename
/// refuses a name that is taken, so this is not std::rename.
bool replaceWithTemporary(const std::string& temporary, const std::string& path);

}  // namespace rillo::model
