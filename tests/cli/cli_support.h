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

// Runs a bash script (with pipefail); its standard output and error are
// captured, its exit status returned.
TRunResult RunShell(const std::string& script);

// A word quoted for a shell command line.
std::string ShellQuote(const std::string& word);

std::vector<std::string> Lines(const std::string& text);

} // namespace korvo::cli::test
