#include "cli/sim_options.h"

#include "common/number_text.h"
#include "common/settings_layout.h"
#include "common/text_file.h"

#include <algorithm>
#include <charconv>

namespace korvo::cli {

namespace {

std::optional<std::int64_t> ParseCount(const std::string& text) {
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

// A port: 0..255.
std::optional<int> ParsePort(const std::string& text) {
    auto value = ParseCommandLineNumber(text);
    if (!value || *value < 0 || *value > 255) return std::nullopt;
    return *value;
}

// PORT=TEXT; nothing when the port is bad or "=" is missing.
std::optional<std::pair<int, std::string>> PortAssignment(const std::string& text) {
    auto equals = text.find('=');
    if (equals == std::string::npos) return std::nullopt;
    auto port = ParsePort(text.substr(0, equals));
    if (!port) return std::nullopt;
    return std::pair(*port, text.substr(equals + 1));
}

// A whole number of at least minimum for a counting option.
bool ReadCount(const TArguments& arguments, const std::string& option, std::int64_t minimum,
               std::int64_t& value, std::string& error) {
    auto text = arguments.Last(option);
    if (!text) return true;
    auto count = ParseCount(*text);
    if (!count || *count < minimum) {
        error = option + " needs a whole number of at least " + std::to_string(minimum) +
                ", not '" + *text + "'";
        return false;
    }
    value = *count;
    return true;
}

} // namespace

std::string ScratchPadSizesText(std::span<const std::int32_t> sizes, std::string_view separator,
                                std::string_view lastSeparator) {
    std::string text;
    for (std::size_t i = 0; i < sizes.size(); ++i)
        text.append(i == 0                  ? ""
                    : i + 1 == sizes.size() ? lastSeparator
                                            : separator)
            .append(std::to_string(sizes[i]));
    return text;
}

std::string ScratchPadSizesText(std::string_view separator, std::string_view lastSeparator) {
    return ScratchPadSizesText(settings::kScratchPadSizes, separator, lastSeparator);
}

const TOptionTable& SimOptions() {
    static const TOptionTable options{
        CoreOption("the processor core (default: the one chosen in the IDE)"),
        {"--settings", "FILE", "reads the settings from this INI file"},
        {"--max-instructions", "N", "stops after N instructions (default 1000000)"},
        {"--frequency", "MHZ", "the clock frequency instead of the settings'"},
        {.Name = "--scratchpad",
         .Value = "SIZE",
         .Help = "scratch pad bytes (default: the settings); PicoBlaze 3:\n" +
                 ScratchPadSizesText(", ", " or ") +
                 "; PicoBlaze 6: " + ScratchPadSizesText(kBuildScratchPadSizes, ", ", " or "),
         .Synopsis = "[--scratchpad " + ScratchPadSizesText("|", "|") + "]"},
        ProgramSizeOption("program memory of PicoBlaze 6: " + ProgramSizesText(", ", " or ") +
                          " words"),
        {"--interrupt-vector", "ADDRESS", "where an interrupt enters PicoBlaze 6"},
        {"--hwbuild", "VALUE",
         "what HWBUILD reads on PicoBlaze 6, 0 to 255 (these\n"
         "three default to the settings)"},
        {"--in", "PORT=VALUE",
         "sets an input port without stimulus file, or a\nbidirectional one (repeatable)", true},
        {"--interrupt-at", "N",
         "raises an interrupt when N instructions have completed\n(repeatable)", true},
        {"--interrupt-every", "N", "raises an interrupt every N instructions"},
        {"--exit-port", "PORT", "ends the run at the first OUT to PORT"},
        {"--expect-out", "PORT=FILE",
         "checks the values written to PORT against FILE's\nlines (repeatable)", true},
        {"--trace", "",
         "prints each instruction (I pc word) and each access it\n"
         "made (R, W, F, S address value)"},
        {"--json", "FILE|-", "writes the end state as JSON (- standard output)"},
        {"--vcd", "FILE|-", "writes a waveform of the first --vcd-limit instructions"},
        {"--vcd-limit", "N", "(default 1000000)"},
        {"--coverage", "FILE|-", "writes an lcov tracefile"},
        {"--profile", "FILE|-",
         "writes per routine (a label reached by CALL or an\n"
         "interrupt) its calls and the instructions run in it\n"
         "and in what it called (inclusive) and in it alone\n"
         "(exclusive)"},
        {"--profile-folded", "FILE|-",
         "writes the run's call stacks with their\n"
         "instructions as collapsed stacks (reset;a;b 42), as\n"
         "flame graph tools read them"},
        {"--no-exec", "", "does not start the EXEC command"},
        // The synopsis names these and the manual page describes them.
        {"--real-time"},
        {"--uart-baud", "N"},
        {.Name = "--uart-stdio", .Synopsis = "[--uart-stdio | --uart-tcp [--uart-wait]]"},
        {.Name = "--uart-tcp", .Synopsis = ""},
        {.Name = "--uart-wait", .Synopsis = ""},
    };
    return options;
}

std::vector<std::pair<std::string, std::string>> TSimOptions::OutputFiles() const {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& [name, file] : {std::pair{"--json", &JsonFile},
                                     {"--vcd", &VcdFile},
                                     {"--coverage", &CoverageFile},
                                     {"--profile", &ProfileFile},
                                     {"--profile-folded", &ProfileFoldedFile}})
        if (*file) files.emplace_back(name, **file);
    return files;
}

bool TSimOptions::TakesStandardOutput() const {
    auto files = OutputFiles();
    return UartStdio || std::any_of(files.begin(), files.end(),
                                    [](const auto& file) { return file.second == "-"; });
}

std::optional<TSimOptions> ReadSimOptions(const TArguments& arguments, std::string& error) {
    TSimOptions options;
    std::int64_t frequency = 0;
    if (!ReadCount(arguments, "--max-instructions", 0, options.MaxInstructions, error) ||
        !ReadCount(arguments, "--interrupt-every", 1, options.InterruptEvery, error) ||
        !ReadCount(arguments, "--vcd-limit", 0, options.VcdLimit, error) ||
        !ReadCount(arguments, "--frequency", 1, frequency, error))
        return std::nullopt;
    if (frequency > 1'000'000) {
        error = "--frequency takes at most 1000000 MHz";
        return std::nullopt;
    }
    if (frequency > 0) options.FrequencyMHz = static_cast<std::int32_t>(frequency);
    if (auto text = arguments.Last("--scratchpad")) {
        auto size = ParseCount(*text);
        const auto& sizes = settings::kScratchPadSizes;
        if (!size || std::find(sizes.begin(), sizes.end(), *size) == sizes.end()) {
            error =
                "--scratchpad takes " + ScratchPadSizesText(", ", " or ") + ", not '" + *text + "'";
            return std::nullopt;
        }
        options.ScratchPadSize = static_cast<int>(*size);
    }
    for (const auto& text : arguments.All("--in")) {
        auto assignment = PortAssignment(text);
        auto value = assignment ? ParseCommandLineNumber(assignment->second) : std::nullopt;
        if (!value || *value < 0 || *value > 0xFF) {
            error = "--in takes PORT=VALUE, each 0 to 255, $00 to $FF or 0x00 to 0xFF, not '" +
                    text + "'";
            return std::nullopt;
        }
        options.Inputs.emplace_back(assignment->first, *value);
    }
    for (const auto& text : arguments.All("--interrupt-at")) {
        auto count = ParseCount(text);
        if (!count) {
            error = "--interrupt-at needs a whole number of at least 0, not '" + text + "'";
            return std::nullopt;
        }
        options.InterruptsAt.push_back(*count);
    }
    if (auto text = arguments.Last("--exit-port")) {
        options.ExitPort = ParsePort(*text);
        if (!options.ExitPort) {
            error = "--exit-port takes a port, 0 to 255, $00 to $FF or 0x00 to 0xFF, not '" +
                    *text + "'";
            return std::nullopt;
        }
    }
    for (const auto& text : arguments.All("--expect-out")) {
        auto assignment = PortAssignment(text);
        if (!assignment || assignment->second.empty()) {
            error = "--expect-out takes PORT=FILE (0 to 255, $00 to $FF or 0x00 to 0xFF), not '" +
                    text + "'";
            return std::nullopt;
        }
        try {
            options.ExpectedOutputs.push_back(
                {assignment->first, assignment->second, ReadExpectedValues(assignment->second)});
        } catch (const EFileError& failure) {
            error = "--expect-out: " + std::string(failure.what());
            return std::nullopt;
        }
    }
    options.Trace = arguments.Has("--trace");
    options.JsonFile = arguments.Last("--json");
    options.VcdFile = arguments.Last("--vcd");
    options.CoverageFile = arguments.Last("--coverage");
    options.ProfileFile = arguments.Last("--profile");
    options.ProfileFoldedFile = arguments.Last("--profile-folded");
    options.RealTime = arguments.Has("--real-time");
    if (auto text = arguments.Last("--uart-baud")) {
        auto baud = ParseCount(*text);
        if (!baud || *baud < settings::kMinUartBaud || *baud > settings::kMaxUartBaud) {
            error = "--uart-baud takes a whole number from " +
                    std::to_string(settings::kMinUartBaud) + " to " +
                    std::to_string(settings::kMaxUartBaud) + ", not '" + *text + "'";
            return std::nullopt;
        }
        options.UartBaud = static_cast<std::int32_t>(*baud);
    }
    options.UartStdio = arguments.Has("--uart-stdio");
    options.UartTcp = arguments.Has("--uart-tcp");
    options.UartWait = arguments.Has("--uart-wait");
    if (options.UartStdio && options.UartTcp) {
        error = "--uart-stdio and --uart-tcp cannot be used together";
        return std::nullopt;
    }
    std::vector<std::string> toStandardOutput;
    if (options.UartStdio) toStandardOutput.push_back("--uart-stdio");
    for (const auto& [name, file] : options.OutputFiles())
        if (file == "-") toStandardOutput.push_back(name + " -");
    if (toStandardOutput.size() > 1) {
        error = toStandardOutput[0] + " and " + toStandardOutput[1] +
                " cannot both have standard output";
        return std::nullopt;
    }
    if (options.UartWait && !options.UartTcp) {
        error = "--uart-wait needs --uart-tcp";
        return std::nullopt;
    }
    // A run that talks to the world has no end of its own unless given one.
    if (options.UsesUart() && !arguments.Last("--max-instructions")) options.MaxInstructions = -1;
    return options;
}

} // namespace korvo::cli
