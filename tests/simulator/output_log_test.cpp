// A long run writes its log out in blocks, so that it never fills the
// memory, and complete in the file afterwards.
#include "common/text_file.h"
#include "scratch_folder.h"
#include "simulator/io_models.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

TEST(OutputLog, ALongRunWritesItsLogInBlocks) {
    TScratchFolder dir;
    std::string path = dir.File("long.log");
    WriteTextLines(path, {"from an earlier run"});
    auto log = std::make_shared<TPortLogFile>(path);
    TOutputPortModel port(1, true, "leds", 0, log, "%d", true);
    const int total = static_cast<int>(TPortLogFile::kSpillLines) + 10;
    for (int i = 0; i < total; ++i)
        port.SetValue(i & 0xFF, {});
    EXPECT_EQ(port.LogLines().size(), 10u);
    auto written = ReadTextLines(path);
    ASSERT_EQ(written.size(), TPortLogFile::kSpillLines);
    EXPECT_EQ(written.front(), "0");
    log->Flush();
    written = ReadTextLines(path);
    ASSERT_EQ(written.size(), static_cast<std::size_t>(total));
    EXPECT_EQ(written.back(), std::to_string((total - 1) & 0xFF));
    // Until the next run the file grows; a new run replaces it.
    port.SetValue(7, {});
    log->Flush();
    EXPECT_EQ(ReadTextLines(path).size(), static_cast<std::size_t>(total) + 1);
    log->Restart();
    port.SetValue(8, {});
    log->Flush();
    EXPECT_EQ(ReadTextLines(path), std::vector<std::string>{"8"});
}

} // namespace
} // namespace korvo::test
