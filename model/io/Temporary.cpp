#include "Temporary.h"

#include "FilePath.h"

#include <filesystem>

namespace rillo::model {

std::string temporaryBeside(const std::string& path) {
    std::string name = path + ".part";
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(std::filesystem::symlink_status(filePath(name), ec)); ++n)
        name = path + ".part" + std::to_string(n);
    return name;
}

bool replaceWithTemporary(const std::string& temporary, const std::string& path) {
    std::error_code ec;
    std::filesystem::rename(filePath(temporary), filePath(path), ec);
    return !ec;
}

}  // namespace rillo::model
