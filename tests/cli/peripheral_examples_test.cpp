// The peripheral demos of examples/ assemble and run to the states their
// opening comments promise. Each runs from a copy in a scratch folder, so
// that the log files it writes stay out of the source tree.
#include "cli_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace korvo::cli::test {
namespace {

struct TDemo {
    const char* Source;
    std::vector<std::string> Options;
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

TEST(PeripheralExamples, RunToTheirDocumentedStates) {
    const TDemo demos[] = {
        {"switches_leds_pbt3.psm",
         {"--core", "3", "--in", "0=$A5", "--max-instructions", "100000000"},
         {"s0=$A5", "s1=$04"},
         ""},
        {"stimulus_log_pbt3.psm", {"--core", "3"}, {"s0=$28", "s1=$A8"}, "Z=1"},
        {"ram_rom_pbti.psm", {"--core", "I"}, {"sA=$04 sB=$D8"}, ""},
        {"scratch_pad_pbt3.psm", {"--core", "3"}, {"s5=$00"}, ""},
        {"uart_pbt3.psm", {"--core", "3"}, {"s0=$10", "s3=$0A"}, ""},
        {"interrupts_pbt3.psm",
         {"--core", "3", "--interrupt-at", "100", "--interrupt-at", "5000", "--interrupt-at",
          "9000"},
         {"s7=$03"},
         "IE=1"},
        {"control_panel_pbt3.psm", {"--core", "3", "--in", "0=$B6"}, {"s1=$05 s2=$1F"}, ""},
    };
    for (const TDemo& demo : demos) {
        SCOPED_TRACE(demo.Source);
        std::string dir = MakeTempDir();
        namespace fs = std::filesystem;
        for (const char* file : {demo.Source, "stimulus_values.txt"})
            fs::copy_file(fs::path(KORVO_EXAMPLES_DIR) / file, fs::path(dir) / file);
        std::vector<std::string> args{"sim", "--settings", dir + "/settings.ini"};
        args.insert(args.end(), demo.Options.begin(), demo.Options.end());
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
