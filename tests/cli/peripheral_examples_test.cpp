// The peripheral demos of examples/ assemble and run to the states their
// opening comments promise, with the options of their "Run it" line as a
// shell splits it when the line is pasted. Each runs from a copy in a
// scratch folder, so that the log files it writes stay out of the source
// tree.
#include "cli_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace korvo::cli::test {
namespace {

struct TDemo {
    const char* Source;
    // Substrings of the final register line and of the flag line.
    std::vector<std::string> Registers;
    std::string Flags;
};

std::string LastLines(const std::string& text, int count) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    std::string tail;
    for (int i = std::max(0, static_cast<int>(lines.size()) - count);
         i < static_cast<int>(lines.size()); ++i)
        tail += lines[i] + "\n";
    return tail;
}

// The words of the example's "Run it" line after "korvo sim" and before the
// file name, as the shell splits them.
std::vector<std::string> RunItOptions(const std::string& source) {
    std::string text = ReadFile(std::string(KORVO_EXAMPLES_DIR) + "/" + source);
    auto start = text.find("; Run it:");
    auto sim = text.find("korvo sim", start);
    auto end = text.find('\n', sim);
    if (start == std::string::npos || sim == std::string::npos) return {};
    TRunResult words =
        RunShell("printf '%s\\n' " + text.substr(sim + 10, end - sim - 10) + " | head -n -1");
    std::vector<std::string> options;
    std::istringstream lines(words.Out);
    for (std::string line; std::getline(lines, line);)
        options.push_back(line);
    return options;
}

TEST(PeripheralExamples, RunToTheirDocumentedStates) {
    const TDemo demos[] = {
        {"switches_leds_pbt3.psm", {"s0=$A5", "s1=$04"}, ""},
        {"stimulus_log_pbt3.psm", {"s0=$28", "s1=$A8"}, "Z=1"},
        {"ram_rom_pbti.psm", {"sA=$04 sB=$D8"}, ""},
        {"scratch_pad_pbt3.psm", {"s5=$00"}, ""},
        {"uart_pbt3.psm", {"s0=$10", "s3=$0A"}, ""},
        {"interrupts_pbt3.psm", {"s7=$03"}, "IE=1"},
        {"control_panel_pbt3.psm", {"s1=$05 s2=$1F"}, ""},
    };
    for (const TDemo& demo : demos) {
        SCOPED_TRACE(demo.Source);
        korvo::test::TScratchFolder scratch;
        std::string dir = scratch.Path();
        namespace fs = std::filesystem;
        for (const char* file : {demo.Source, "stimulus_values.txt"})
            fs::copy_file(fs::path(KORVO_EXAMPLES_DIR) / file, fs::path(dir) / file);
        std::vector<std::string> args{"sim", "--settings", dir + "/settings.ini"};
        std::vector<std::string> options = RunItOptions(demo.Source);
        ASSERT_FALSE(options.empty());
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(dir + "/" + demo.Source);
        TRunResult result = RunInProcess(args);
        EXPECT_EQ(result.Status, 0) << result.Err;
        EXPECT_EQ(result.Err, "");
        std::string tail = LastLines(result.Out, 2);
        for (const std::string& registers : demo.Registers)
            EXPECT_NE(tail.find(registers), std::string::npos) << tail;
        EXPECT_NE(tail.find(demo.Flags), std::string::npos) << tail;
        if (std::string(demo.Source) == "stimulus_log_pbt3.psm") {
            std::string log = ReadFile(dir + "/running_total.log");
            EXPECT_EQ(log.substr(0, 12), "total:   5\r\n");
            EXPECT_NE(log.find("total: 168\r\n"), std::string::npos) << log;
        }
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
}

} // namespace
} // namespace korvo::cli::test
