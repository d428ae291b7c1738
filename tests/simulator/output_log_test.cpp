// A long run's log: written out in blocks while it grows, so that it never
// fills the memory, and complete in the file afterwards.
#include "common/text_file.h"
#include "sim_test_support.h"
#include "simulator/io_models.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

TEST(OutputLog, ALongRunWritesItsLogInBlocks) {
    TScratchFolder dir;
    std::string log = dir.File("long.log");
    WriteTextLines(log, {"from an earlier run"});
    TOutputPortModel port(1, true, "leds", 0, log, "%d", true);
    const int total = static_cast<int>(TOutputPortModel::kLogSpillLines) + 10;
    for (int i = 0; i < total; ++i)
        port.SetValue(i & 0xFF, {});
    EXPECT_EQ(port.LogLines().size(), 10u);
    auto written = ReadTextLines(log);
    ASSERT_EQ(written.size(), TOutputPortModel::kLogSpillLines);
    EXPECT_EQ(written.front(), "0");
    port.FlushLog();
    written = ReadTextLines(log);
    ASSERT_EQ(written.size(), static_cast<std::size_t>(total));
    EXPECT_EQ(written.back(), std::to_string((total - 1) & 0xFF));
    // The next flush replaces the file again.
    port.SetValue(7, {});
    port.FlushLog();
    EXPECT_EQ(ReadTextLines(log), std::vector<std::string>{"7"});
}

TEST(OutputLog, AppendTextLinesAddsToTheEndAndReportsFailures) {
    TScratchFolder dir;
    std::string file = dir.File("a.txt");
    AppendTextLines(file, {"one"});
    AppendTextLines(file, {"two", "three"});
    EXPECT_EQ(ReadFileBytes(file), "one\r\ntwo\r\nthree\r\n");
    EXPECT_THROW(AppendTextLines(dir.File("missing/b.txt"), {"x"}), EFileError);
}

} // namespace
} // namespace korvo::test
