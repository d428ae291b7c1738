// Every instruction word of the golden sources, disassembled and assembled
// again, gives the same word: the disassembly is what the assembler reads.
#include "../assembler/assembly_harness.h"

#include "common/text_file.h"
#include "simulator/disassembler.h"

#include <gtest/gtest.h>

#include <regex>

namespace korvo::test {
namespace {

struct TCoreFile {
    TCoreKind Core;
    const char* File;
};

class DisassemblerTest : public ::testing::TestWithParam<TCoreFile> {};

TEST_P(DisassemblerTest, AssemblingTheTextGivesTheWordBack) {
    const std::regex expectation(R"(;= \$[0-9A-F]+ \$([0-9A-F]+))");
    std::vector<std::uint32_t> words;
    std::vector<std::string> lines;
    for (const auto& line :
         ReadTextLines(std::string(KORVO_TEST_DATA_DIR) + "/assembler/" + GetParam().File)) {
        std::smatch match;
        // Words written with INST may set bits no instruction reads.
        if (!std::regex_search(line, match, expectation) || line.find("INST") != std::string::npos)
            continue;
        words.push_back(static_cast<std::uint32_t>(std::stoul(match[1], nullptr, 16)));
        lines.push_back(Disassemble(GetParam().Core, words.back()));
    }
    ASSERT_GT(words.size(), 35u);
    TAssembly assembly(GetParam().Core);
    ASSERT_TRUE(assembly.Run(lines)) << assembly.Log.Lines.front();
    for (std::size_t i = 0; i < words.size(); ++i)
        EXPECT_EQ(assembly.Entry(static_cast<int>(i)).Word, words[i]) << lines[i];
}

INSTANTIATE_TEST_SUITE_P(EveryCore, DisassemblerTest,
                         ::testing::Values(TCoreFile{TCoreKind::pbtI, "ok_pbtI_instructions.psm"},
                                           TCoreFile{TCoreKind::pbtII, "ok_pbtII_instructions.psm"},
                                           TCoreFile{TCoreKind::pbt3, "ok_pbt3_instructions.psm"},
                                           TCoreFile{TCoreKind::pbtC, "ok_pbtC_instructions.psm"}));

TEST(Disassembler, SpellsOperandsAsTheDialectDoes) {
    EXPECT_EQ(Disassemble(TCoreKind::pbt3, 0x35405), "JUMP NZ, $005");
    EXPECT_EQ(Disassemble(TCoreKind::pbt3, 0x05010), "IN s0, (s1)");
    EXPECT_EQ(Disassemble(TCoreKind::pbtII, 0x2800F), "SR1 s00");
    EXPECT_EQ(Disassemble(TCoreKind::pbt3, 0x38001), "RETI ENABLE");
    EXPECT_EQ(Disassemble(TCoreKind::pbtI, 0xC00F), "INST $C00F");
}

} // namespace
} // namespace korvo::test
