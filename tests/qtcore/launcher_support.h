#pragma once

#include "output/output_files.h"

#include <optional>
#include <string>
#include <vector>

namespace korvo::test {

// Waits until the file exists (a started command writes it); false after
// a generous limit, so a broken start fails the test instead of hanging it.
bool WaitForFile(const std::string& path);

// True when this process has no child processes, zombies included.
bool HasNoChildren();

// Wraps another launcher and counts the commands it is asked to start.
class TCountingLauncher : public IProcessLauncher {
public:
    explicit TCountingLauncher(IProcessLauncher& inner) : inner_(inner) {}
    bool Launch(const std::string& commandLine, std::string& errorText) override {
        Commands.push_back(commandLine);
        return inner_.Launch(commandLine, errorText);
    }
    std::vector<std::string> Commands;

private:
    IProcessLauncher& inner_;
};

// Sets an environment variable for the life of the object, then restores it.
class TScopedEnvironment {
public:
    TScopedEnvironment(const char* name, const std::string& value);
    ~TScopedEnvironment();
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
std::string ShellQuote(const std::string& text);

} // namespace korvo::test
