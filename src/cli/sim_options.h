#pragma once

#include "cli/arguments.h"
#include "simulator/port_expectation.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvo::cli {

// The options of korvo sim, checked.
struct TSimOptions {
    std::int64_t MaxInstructions = 1'000'000;
    std::optional<int> ScratchPadSize;
    std::optional<std::int32_t> FrequencyMHz;
    std::vector<std::pair<int, std::int32_t>> Inputs; // port, value
    std::vector<std::int64_t> InterruptsAt;
    std::int64_t InterruptEvery = 0;
    std::optional<int> ExitPort;
    struct TExpectedOutput {
        int Port;
        std::string File;
        std::vector<TExpectedValue> Values;
    };
    std::vector<TExpectedOutput> ExpectedOutputs;
    bool Trace = false;
    // "-" for standard output.
    std::optional<std::string> JsonFile;
    std::optional<std::string> VcdFile;
    std::int64_t VcdLimit = 1'000'000;
    std::optional<std::string> CoverageFile;
    // Where the run spends its instructions, per routine: a table, and the
    // collapsed stacks that flame graph tools read.
    std::optional<std::string> ProfileFile;
    std::optional<std::string> ProfileFoldedFile;
    bool RealTime = false;
    std::optional<std::int32_t> UartBaud;
    bool UartStdio = false;
    bool UartTcp = false;
    bool UartWait = false;
    bool UsesUart() const { return UartStdio || UartTcp; }
    // The result files given: the option ("--json", "--vcd", "--coverage",
    // "--profile", "--profile-folded") and the file name.
    std::vector<std::pair<std::string, std::string>> OutputFiles() const;
    // A result or the UART has standard output; the texts then go to
    // standard error.
    bool TakesStandardOutput() const;
};

// The options of korvo sim, in the order of its synopsis and help.
const TOptionTable& SimOptions();

// The scratch pad sizes --scratchpad takes: ("|", "|") gives "0|16|...|256".
std::string ScratchPadSizesText(std::string_view separator, std::string_view lastSeparator);
// The same of the given sizes.
std::string ScratchPadSizesText(std::span<const std::int32_t> sizes, std::string_view separator,
                                std::string_view lastSeparator);

// The options, with the expected-output files read; nothing and a one-line
// error for a bad value or a file that cannot be read.
std::optional<TSimOptions> ReadSimOptions(const TArguments& arguments, std::string& error);

} // namespace korvo::cli
