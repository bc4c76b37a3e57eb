#pragma once
// Environment variables set for one test and put back afterwards, together
// with the current folder (a model run moves to the program's folder).

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace rillo::testing {

class EnvironmentGuard {
public:
    EnvironmentGuard() : folder_(std::filesystem::current_path()) {}
    /// One variable for the guard's lifetime.
    EnvironmentGuard(const char* name, const std::string& value) : EnvironmentGuard() { set(name, value); }
    ~EnvironmentGuard() {
        std::error_code ec;
        std::filesystem::current_path(folder_, ec);
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) put(it->first.c_str(), it->second);
    }
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;

    void set(const char* name, const std::string& value) {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        put(name, value);
    }

private:
    static void put(const char* name, const std::optional<std::string>& value) {
#ifdef _WIN32
        _putenv_s(name, value ? value->c_str() : "");
#else
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
#endif
    }

    std::filesystem::path folder_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace rillo::testing
