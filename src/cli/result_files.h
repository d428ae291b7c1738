#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace korvo::cli {

// A file a command reads, and what it is to the user ("the source file").
struct TInputFile {
    std::string File;
    std::string What;
};

// The files an assembly read (the source first, as TSourceAssembly lists
// them) and the settings file, when one is named.
std::vector<TInputFile> RunInputs(const std::vector<std::string>& assemblyInputs,
                                  const std::optional<std::string>& settingsFile);

// The error for the first result file (option, file name; "-" is standard
// output and never refused) that would replace an input or an earlier
// result; empty when there is none.
std::string RefuseInputsAsResults(const std::vector<std::pair<std::string, std::string>>& results,
                                  const std::vector<TInputFile>& inputs);

} // namespace korvo::cli
