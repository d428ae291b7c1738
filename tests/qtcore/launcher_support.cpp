#include "launcher_support.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <thread>

namespace korvo::test {

bool WaitForFile(const std::string& path) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        if (std::filesystem::exists(path)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

bool HasNoChildren() {
    errno = 0;
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

TScopedEnvironment::TScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    ::setenv(name, value.c_str(), 1);
}

TScopedEnvironment::~TScopedEnvironment() {
    if (previous_)
        ::setenv(name_, previous_->c_str(), 1);
    else
        ::unsetenv(name_);
}

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace korvo::test
