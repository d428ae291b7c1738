// Output logs: a long run writes its log out in blocks, so that it never
// fills the memory, and ports that name one file share it.
#include "common/text_file.h"
#include "sim_test_support.h"
#include "simulator/io_models.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

TEST(OutputLog, ALongRunWritesItsLogInBlocks) {
    TTempDirectory dir;
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

TEST(OutputLog, PortsNamingOneFileKeepEveryLineInOrder) {
    TTempDirectory dir;
    TMachine m(TCoreKind::pbt3);
    for (int port : {1, 2}) {
        TMemMapItem item;
        item.Kind = mkOutput;
        item.OutFile = dir.File("shared.log");
        item.OutFormat = port == 1 ? "a%d" : "b%d";
        m.Sim->SetPortItem(port, item);
    }
    const TEncoder& e = m.Encode;
    m.Load({e.Alu(TAlu::Load, 0, 1), e.Port(TPortOp::Out, 0, 1), e.Port(TPortOp::Out, 0, 2),
            e.Alu(TAlu::Load, 0, 2), e.Port(TPortOp::Out, 0, 2), e.Port(TPortOp::Out, 0, 1)});
    m.Start();
    m.Steps(6);
    m.Session->IO().FlushPendingLogs();
    EXPECT_EQ(ReadFileBytes(dir.File("shared.log")), "a1\r\nb1\r\nb2\r\na2\r\n");
}

} // namespace
} // namespace korvo::test
