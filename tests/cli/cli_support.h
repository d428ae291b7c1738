#pragma once

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

// Runs a bash script (with pipefail); its standard output and error are
// captured, its exit status returned.
TRunResult RunShell(const std::string& script);

// A word quoted for a shell command line.
std::string ShellQuote(const std::string& word);

// A fresh empty directory under the system's temporary folder, removed with
// everything in it when the test program ends.
std::string MakeTempDir();

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

} // namespace korvo::cli::test
