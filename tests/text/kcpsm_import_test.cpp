#include "assembler/syn_picoblaze.h"
#include "data_files.h"
#include "scratch_folder.h"
#include "text/kcpsm_import.h"

#include "common/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvo::test {
namespace {

using Lines = std::vector<std::string>;

// tests/data/text/kcpsm_lines.txt
TEST(KcpsmImport, RewritesLinesIntoTheDialect) {
    for (const auto& row : ReadCaseTable(DataPath("text/kcpsm_lines.txt"))) {
        std::vector<Lines> groups(1);
        TKcpsmImportOptions options;
        for (const auto& field : row.Fields) {
            if (field == "kcpsm6" && groups[0].empty()) {
                options.Dialect = TKcpsmDialect::Kcpsm6;
                continue;
            }
            if (field == "=>")
                groups.emplace_back();
            else
                groups.back().push_back(field);
        }
        SCOPED_TRACE("line " + std::to_string(row.Line));
        if (groups.size() == 2) {
            EXPECT_EQ(ImportKcpsmLines(groups[0], options).Lines, groups[1]);
            continue;
        }
        TKcpsmConversion conversion = ImportKcpsmLines(groups[0], options);
        EXPECT_EQ(conversion.Renames, groups[1]);
        Lines header{"; KCPSM names renamed on import:"};
        for (const auto& rename : groups[1])
            header.push_back("; " + rename);
        ASSERT_EQ(conversion.HeaderLines, header.size());
        header.insert(header.end(), groups[2].begin(), groups[2].end());
        EXPECT_EQ(conversion.Lines, header);
    }
}

TEST(KcpsmImport, Kcpsm6IsDetectedAndIncludesArePutInPlace) {
    EXPECT_EQ(ImportKcpsmLines({"LOAD s0, 01", "ADDRESS 3FF"}).Dialect, TKcpsmDialect::Kcpsm3);
    for (const char* line : {"REGBANK A", "outputk 01, 2", "LOAD s0, 12'd", "INST 00000",
                             "LOAD s0, x'lower", "DEFAULT_JUMP 000"})
        EXPECT_EQ(ImportKcpsmLines({line}).Dialect, TKcpsmDialect::Kcpsm6) << line;

    const TScratchFolder dir;
    TKcpsmImportOptions inDir;
    inDir.SourceFile = dir / "main.psm";
    std::filesystem::create_directory(dir / "lib");
    dir.Write("lib/a.psm", "INCLUDE \"b.psm\"\nLOAD s1, 01\n");
    dir.Write("lib/b.psm", "ADD s2, 02\nINCLUDE \"a.psm\"\n");
    TKcpsmConversion conversion =
        ImportKcpsmLines({"start: LOAD s0, 00", "INCLUDE \"lib/a.psm\"", "JUMP start"}, inDir);
    EXPECT_EQ(conversion.Lines, (Lines{"start: LOAD s0 , 0", "; ---- INCLUDE \"lib/a.psm\" begins",
                                       "; ---- INCLUDE \"b.psm\" begins", " ADD s2 , 2",
                                       "; INCLUDE \"a.psm\" is being included already",
                                       "; ---- INCLUDE \"b.psm\" ends", " LOAD s1 , 1",
                                       "; ---- INCLUDE \"lib/a.psm\" ends", " JUMP start"}));
    ASSERT_EQ(conversion.Files.size(), 3u);
    EXPECT_EQ(conversion.Origins[3].File, 2); // ADD s2, 02: line 1 of b.psm
    EXPECT_EQ(conversion.Origins[3].Line, 1);
    EXPECT_EQ(conversion.Origins[8].Line, 3);
    EXPECT_THROW(ImportKcpsmLines({"INCLUDE \"missing.psm\""}, inDir), EFileError);

    // Names written on Windows: "\\" between folders, letter case ignored
    // when only one entry matches.
    std::filesystem::create_directory(dir / "Interfaces");
    dir.Write("Interfaces/UART.psm", "LOAD s3, 03\n");
    const Lines windows{"INCLUDE \"interfaces\\uart.psm\""};
    conversion = ImportKcpsmLines(windows, inDir);
    EXPECT_EQ(conversion.Lines,
              (Lines{"; ---- INCLUDE \"interfaces\\uart.psm\" begins", " LOAD s3 , 3",
                     "; ---- INCLUDE \"interfaces\\uart.psm\" ends"}));
    EXPECT_EQ(conversion.Notes,
              Lines{"INCLUDE \"interfaces\\uart.psm\" read from " + dir / "Interfaces/UART.psm"});
    dir.Write("Interfaces/Uart.psm", "");
    try {
        ImportKcpsmLines(windows, inDir);
        ADD_FAILURE() << "several matches taken";
    } catch (const EFileError& error) {
        EXPECT_NE(std::string(error.what())
                      .find(dir / "Interfaces/UART.psm, " + dir / "Interfaces/Uart.psm"),
                  std::string::npos)
            << error.what();
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
