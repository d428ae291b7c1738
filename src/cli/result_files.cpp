#include "cli/result_files.h"

#include "common/text_file.h"

namespace korvo::cli {

std::vector<TInputFile> RunInputs(const std::vector<std::string>& assemblyInputs,
                                  const std::optional<std::string>& settingsFile) {
    std::vector<TInputFile> inputs;
    for (std::size_t i = 0; i < assemblyInputs.size(); ++i)
        inputs.push_back(
            {assemblyInputs[i], i == 0 ? "the source file" : "an input of the source"});
    if (settingsFile) inputs.push_back({*settingsFile, "the settings file"});
    return inputs;
}

std::string RefuseInputsAsResults(const std::vector<std::pair<std::string, std::string>>& results,
                                  const std::vector<TInputFile>& inputs) {
    for (std::size_t i = 0; i < results.size(); ++i) {
        const auto& [option, file] = results[i];
        if (file == "-") continue;
        for (const auto& input : inputs)
            if (SameFile(file, input.File)) return option + ": \"" + file + "\" is " + input.What;
        for (std::size_t j = 0; j < i; ++j)
            if (SameFile(file, results[j].second))
                return option + " and " + results[j].first + " name the same file";
    }
    return {};
}

} // namespace korvo::cli
