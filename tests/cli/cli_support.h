#pragma once

#include "scratch_folder.h"

#include <string>
#include <vector>

namespace korvo::cli::test {

struct TRunResult {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// Runs the korvo command in-process.
TRunResult RunInProcess(const std::vector<std::string>& args);

// Runs the built korvo executable with the given arguments (and, when
// environment is not empty, "NAME=VALUE" words put before it with env).
TRunResult RunExecutable(const std::vector<std::string>& args,
                         const std::vector<std::string>& environment = {});

// Runs a shell command line; its status and outputs.
TRunResult RunCommandLine(const std::string& command);

// Runs a bash script (with pipefail); its standard output and error are
// captured, its exit status returned.
TRunResult RunShell(const std::string& script);

// A word quoted for a shell command line.
std::string ShellQuote(const std::string& word);

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

std::vector<std::string> Lines(const std::string& text);

// A scratch folder with a settings file of its own, so that no test touches
// the user's settings.
struct TSimFixture {
    TSimFixture();
    // Writes a source into the folder; its path.
    std::string Source(const std::string& name, const std::string& text);
    // korvo sim with the folder's settings, in-process or as the executable.
    TRunResult Sim(std::vector<std::string> args);
    TRunResult SimExecutable(std::vector<std::string> args);
    korvo::test::TScratchFolder Scratch;
    std::string Dir;
    std::string Settings;
};

} // namespace korvo::cli::test
