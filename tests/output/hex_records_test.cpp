// The HEX records worked out by hand, beyond the expected files.
#include "output_test_support.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

// tests/data/output/hex_records.txt, and the end record after CodeSize / 8
// records of every core.
TEST(HexFile, RecordsAndTheirChecksums) {
    TScratchFolder dir;
    TMemorySettingsStore settings;
    for (const auto& row : ReadCaseTable(OutputDataPath("hex_records.txt"))) {
        TCoreKind kind = *CoreKindFromName(row.Fields[0]);
        TOutputJob job = MakeJob(kind, EmptyProgram(kind));
        for (auto word = row.Fields.begin() + 3; word != row.Fields.end(); ++word)
            job.Words.at(std::stoul(*word)) =
                std::stoul(word->substr(word->find('=') + 1), nullptr, 16);
        job.HexFileName = dir / "out.hex";
        RunWriters(job, settings);
        auto lines = SplitCrLf(ReadBytes(job.HexFileName));
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(CoreDescription(kind).CodeSize / 8 + 1));
        EXPECT_EQ(lines.back(), ";00000001FF");
        EXPECT_EQ(lines.at(std::stoul(row.Fields[1])), row.Fields[2]) << "line " << row.Line;
    }
}

} // namespace
} // namespace korvo::test
