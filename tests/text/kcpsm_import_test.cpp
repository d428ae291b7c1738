#include "assembler/syn_picoblaze.h"
#include "data_files.h"
#include "text/kcpsm_import.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

using Lines = std::vector<std::string>;

// tests/data/text/kcpsm_lines.txt
TEST(KcpsmImport, RewritesLinesIntoTheDialect) {
    for (const auto& row : ReadCaseTable(DataPath("text/kcpsm_lines.txt"))) {
        std::vector<Lines> groups(1);
        for (const auto& field : row.Fields) {
            if (field == "=>")
                groups.emplace_back();
            else
                groups.back().push_back(field);
        }
        SCOPED_TRACE("line " + std::to_string(row.Line));
        if (groups.size() == 2) {
            EXPECT_EQ(ImportKcpsmLines(groups[0]).Lines, groups[1]);
            continue;
        }
        TKcpsmConversion conversion = ImportKcpsmLines(groups[0]);
        EXPECT_EQ(conversion.Renames, groups[1]);
        Lines header{"; KCPSM names renamed on import:"};
        for (const auto& rename : groups[1])
            header.push_back("; " + rename);
        ASSERT_EQ(conversion.HeaderLines, header.size());
        header.insert(header.end(), groups[2].begin(), groups[2].end());
        EXPECT_EQ(conversion.Lines, header);
    }
}

TEST(KcpsmImport, FormatsTheRewrittenLines) {
    TSynPicoBlaze scanner;
    Lines source{"CONSTANT max, FF",
                 "start: LOAD s0, 0A ; set",
                 "loop: ADDCY s1, 01",
                 "  ENABLE INTERRUPT",
                 "",
                 "; note"};
    Lines expected{"max                 EQU       $FF",
                   "start:              LOAD      s0, 10              ; set",
                   "loop:               ADDC      s1, 1",
                   "                    EINT      ",
                   "",
                   "; note"};
    EXPECT_EQ(ConvertKcpsmSource(scanner, source, TCoreKind::pbt3, {}), expected);
    EXPECT_EQ(ConvertKcpsmSource(scanner, {"NAMEREG s15, top"}, TCoreKind::pbtII, {4, 8, 16}),
              Lines{"top EQU s15"});
}

} // namespace
} // namespace korvo::test
