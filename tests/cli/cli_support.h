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

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

} // namespace korvo::cli::test
