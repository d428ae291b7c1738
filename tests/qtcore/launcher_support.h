#pragma once

// What the tests of process start share.
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <thread>

namespace korvo::test {

// Waits until the file exists (a started command writes it); false after
// a generous limit, so a broken start fails the test instead of hanging it.
inline bool WaitForFile(const std::string& path) {
    for (int attempt = 0; attempt < 1000 && !std::filesystem::exists(path); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return std::filesystem::exists(path);
}

// True when this process has no child processes, zombies included.
inline bool HasNoChildren() {
    errno = 0;
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

// Sets an environment variable for the life of the object, then restores it.
class TScopedEnvironment {
public:
    TScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) previous_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~TScopedEnvironment() {
        previous_ ? ::setenv(name_, previous_->c_str(), 1) : ::unsetenv(name_);
    }
    TScopedEnvironment(const TScopedEnvironment&) = delete;
    TScopedEnvironment& operator=(const TScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> previous_;
};

// A PATH of the system's own program folders only, so that a folder of the
// caller's PATH that this user may not search does not change the result.
inline constexpr const char* kSystemPath = "/usr/local/bin:/usr/bin:/bin";

// A shell word that stands for the text as it is.
inline std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace korvo::test
