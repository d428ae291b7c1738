// Every instruction word of the golden sources, disassembled and assembled
// again, gives the same word: the disassembly is what the assembler reads.
#include "assembly.h"
#include "data_files.h"

#include "common/text_file.h"
#include "simulator/disassembler.h"

#include <gtest/gtest.h>

#include <regex>

namespace korvo::test {
namespace {

TEST(Disassembler, AssemblingTheTextGivesTheWordBack) {
    const std::regex expectation(R"(;= \$[0-9A-F]+ \$([0-9A-F]+))");
    for (auto [core, file] : {std::pair{TCoreKind::pbtI, "pbtI"},
                              {TCoreKind::pbtII, "pbtII"},
                              {TCoreKind::pbt3, "pbt3"},
                              {TCoreKind::pbtC, "pbtC"},
                              {TCoreKind::pbt6, "pbt6"}}) {
        std::vector<std::uint32_t> words;
        std::vector<std::string> lines;
        for (const auto& line :
             ReadTextLines(DataPath("assembler/ok_" + std::string(file) + "_instructions.psm"))) {
            std::smatch match;
            // Words written with INST may set bits no instruction reads.
            if (!std::regex_search(line, match, expectation) || line.find("INST") != line.npos)
                continue;
            words.push_back(static_cast<std::uint32_t>(std::stoul(match[1], nullptr, 16)));
            lines.push_back(Disassemble(core, words.back()));
        }
        ASSERT_GT(words.size(), 35u) << file;
        TAssembly assembly(core);
        ASSERT_TRUE(assembly.Run(lines)) << file << ": " << assembly.Log.Lines.back();
        for (std::size_t i = 0; i < words.size(); ++i)
            EXPECT_EQ(assembly.Entry(static_cast<int>(i)).Word, words[i]) << lines[i];
    }
    EXPECT_EQ(Disassemble(TCoreKind::pbt3, 0x05010), "IN s0, (s1)");
    EXPECT_EQ(Disassemble(TCoreKind::pbtII, 0x2800F), "SR1 s00");
    EXPECT_EQ(Disassemble(TCoreKind::pbtI, 0xC00F), "INST $C00F");
    EXPECT_EQ(Disassemble(TCoreKind::pbt6, 0x22ABC), "JUMP $ABC");
    EXPECT_EQ(Disassemble(TCoreKind::pbt6, 0x2B7AF), "OUTK $7A, $F");
    EXPECT_EQ(Disassemble(TCoreKind::pbt6, 0x26121), "INST $26121");
}

} // namespace
} // namespace korvo::test
