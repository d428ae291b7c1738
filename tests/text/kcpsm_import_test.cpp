#include "assembler/syn_picoblaze.h"
#include "text/kcpsm_import.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvo {
namespace {

using Lines = std::vector<std::string>;

struct ConvertCase {
    std::string Line;
    std::string Expected;
};

void PrintTo(const ConvertCase& c, std::ostream* os) {
    *os << "\"" << c.Line << "\"";
}

class ConvertLineTest : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(ConvertLineTest, RewritesIntoTheDialect) {
    EXPECT_EQ(ConvertKcpsmLines({GetParam().Line}), Lines{GetParam().Expected});
}

INSTANTIATE_TEST_SUITE_P(ExampleTable, ConvertLineTest,
                         ::testing::Values(ConvertCase{"CONSTANT max, FF", "max EQU  $FF"},
                                           ConvertCase{"NAMEREG s5, counter", "counter EQU s5"},
                                           ConvertCase{"ADDRESS 3FF", " ORG  $3FF"},
                                           ConvertCase{"start: LOAD s0, 0A ; set",
                                                       "start: LOAD s0 , 10 ; set"},
                                           ConvertCase{"loop: ADDCY s1, 01", "loop:ADDC s1 , 1"},
                                           ConvertCase{"ENABLE INTERRUPT", "EINT"},
                                           ConvertCase{"RETURNI ENABLE", "RETI ENABLE"},
                                           ConvertCase{"COMPARE s0, 64", "COMP s0 , $64"},
                                           ConvertCase{"JUMP NZ, loop", " JUMP NZ , loop"},
                                           ConvertCase{"OUTPUT s0, (s1)", "OUT s0 , (s1)"},
                                           ConvertCase{"; comment", "; comment"}));

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, ConvertLineTest,
    ::testing::Values(
        // Above the limit the text stays and is no longer read as hexadecimal.
        ConvertCase{"ADDRESS 400", " ORG  400"}, ConvertCase{"ADDRESS 3ff", " ORG  $3FF"},
        ConvertCase{"LOAD s0, 63", " LOAD s0 , 99"}, ConvertCase{"LOAD s0, 64", " LOAD s0 , $64"},
        ConvertCase{"LOAD s0, FF", " LOAD s0 , $FF"}, ConvertCase{"LOAD s0, 100", " LOAD s0 , 100"},
        ConvertCase{"LOAD s0, 0", " LOAD s0 , 0"}, ConvertCase{"LOAD s0,", " LOAD s0 , "},
        ConvertCase{"NAMEREG s5", ""}, ConvertCase{"here: NAMEREG s5", "here:"},
        ConvertCase{"ENABLE", "EINT"}, ConvertCase{"a:b LOAD s0, 1", "a:b LOAD s0 , 1"},
        ConvertCase{"addcy s0, 01", "ADDC s0 , 1"}, ConvertCase{"load s0, 01", " load s0 , 1"},
        ConvertCase{"", ""}, ConvertCase{"   \t ", ""}));

INSTANTIATE_TEST_SUITE_P(
    MoreLines, ConvertLineTest,
    ::testing::Values(
        ConvertCase{"\tSUBCY s2, s3 \r", "SUBC s2 , s3"},
        ConvertCase{"INPUT s3, FF", "IN s3 , $FF"},
        ConvertCase{"INPUT s3, (s4) ; read", "IN s3 , (s4) ; read"},
        ConvertCase{"OUTPUT s0, 10", "OUT s0 , 16"}, ConvertCase{"RETURN", "RET"},
        ConvertCase{"return nz", "RET nz"}, ConvertCase{"RETURNI DISABLE", "RETI DISABLE"},
        ConvertCase{"DISABLE INTERRUPT ; off", "DINT ; off"},
        ConvertCase{"disable Interrupt", "DINT"}, ConvertCase{"ENABLE FOO", "EINT FOO"},
        ConvertCase{"CONSTANT max, FF ; top", "max EQU  $FF; top"},
        ConvertCase{"constant port, 04", "port EQU  4"},
        ConvertCase{"CONSTANT big, 1FF", "big EQU  1FF"}, ConvertCase{"CONSTANT x", "x EQU "},
        ConvertCase{"CONSTANT", ""}, ConvertCase{"ADDRESS", ""},
        ConvertCase{"ADDRESS 010 ; start", " ORG  16; start"},
        ConvertCase{"NAMEREG sF, top ; stack", "top EQU sF ; stack"},
        ConvertCase{"loop: ; nothing", "loop: ; nothing"}, ConvertCase{"done:", "done:"},
        ConvertCase{"SR0 s0 ; halve", " SR0 s0 ; halve"},
        ConvertCase{"LOAD s0,,01", " LOAD s0 , 1"}, ConvertCase{",LOAD", " LOAD"},
        ConvertCase{"LOAD s0, ;c", " LOAD s0 ;c"}, ConvertCase{"FETCH s0, 3F", " FETCH s0 , 63"},
        ConvertCase{"TEST s0, 80", " TEST s0 , $80"},
        ConvertCase{"LOAD s0, FFFFFFFFF", " LOAD s0 , FFFFFFFFF"}));

// Branch targets are code addresses: they are read up to the last address of
// the code space, unconditional ones included.
INSTANTIATE_TEST_SUITE_P(
    BranchTargets, ConvertLineTest,
    ::testing::Values(ConvertCase{"JUMP 3FF", " JUMP $3FF"}, ConvertCase{"JUMP 010", " JUMP 16"},
                      ConvertCase{"call 1A0 ; sub", " call $1A0 ; sub"},
                      ConvertCase{"JUMP NZ, 100", " JUMP NZ , $100"},
                      ConvertCase{"CALL C, 3ff", " CALL C , $3FF"},
                      ConvertCase{"JUMP 400", " JUMP 400"}, ConvertCase{"JUMP loop", " JUMP loop"},
                      ConvertCase{"JUMP C", " JUMP C"}, ConvertCase{"JUMP ;c", " JUMP ;c"},
                      ConvertCase{"LOAD s0, 100", " LOAD s0 , 100"}));

// Comments glued to a word, blanks around commas, statements glued to their
// label and mnemonics in mixed case.
INSTANTIATE_TEST_SUITE_P(KcpsmSpellings, ConvertLineTest,
                         ::testing::Values(ConvertCase{"CONSTANT C_ITERS, 0f;", "C_ITERS EQU  15;"},
                                           ConvertCase{"LOAD s0, c9;", " LOAD s0 , $C9 ;"},
                                           ConvertCase{"NAMEREG s0 , X;", "X EQU s0 ;"},
                                           ConvertCase{"RETURN;", "RET ;"},
                                           ConvertCase{"\tOUTPUT\ts0 ,(s1);x", "OUT s0 , (s1) ;x"},
                                           ConvertCase{"JUMP NZ , 1A0;x", " JUMP NZ , $1A0 ;x"},
                                           ConvertCase{"loop:LOAD s0, 01", "loop: LOAD s0 , 1"},
                                           ConvertCase{"Load s0 , 01", " LOAD s0 , 1"},
                                           ConvertCase{"NAMEREG s5,", " EQU s5"}));

struct RenameCase {
    Lines Source;
    Lines Renames;
    Lines Converted; // the lines after the rename block
};

class RenameTest : public ::testing::TestWithParam<RenameCase> {};

TEST_P(RenameTest, RenamesAtDefinitionAndUsesAndListsTheRenames) {
    TKcpsmConversion conversion = ImportKcpsmLines(GetParam().Source);
    EXPECT_EQ(conversion.Renames, GetParam().Renames);
    Lines header{"; KCPSM names renamed on import:"};
    for (const auto& rename : GetParam().Renames)
        header.push_back("; " + rename);
    ASSERT_EQ(conversion.HeaderLines, header.size());
    EXPECT_EQ(Lines(conversion.Lines.begin(), conversion.Lines.begin() + header.size()), header);
    EXPECT_EQ(Lines(conversion.Lines.begin() + header.size(), conversion.Lines.end()),
              GetParam().Converted);
}

INSTANTIATE_TEST_SUITE_P(
    Collisions, RenameTest,
    ::testing::Values(
        // Letter case; the name the rename would take is the program's own.
        RenameCase{{"CONSTANT character_a, 61", "CONSTANT character_A, 41",
                    "CONSTANT character_A_1, 5F", "LOAD s0, character_A"},
                   {"constant character_A -> character_A_2"},
                   {"character_a EQU  97", "character_A_2 EQU  65", "character_A_1 EQU  95",
                    " LOAD s0 , character_A_2"}},
        // Two renames that would give the same name.
        RenameCase{{"NAMEREG s4, c", "NAMEREG s5, C", "ADD c, C"},
                   {"register c -> c_reg", "register C -> C_reg_1"},
                   {"c_reg EQU s4", "C_reg_1 EQU s5", " ADD c_reg , C_reg_1"}},
        // A leading digit and a directive word; the condition stays.
        RenameCase{{"1char: JUMP END", "END: CALL Z, 1char", "L_1char: RETURN C"},
                   {"label 1char -> L_1char_1", "label END -> END_label"},
                   {"L_1char_1: JUMP END_label", "END_label: CALL Z , L_1char_1", "L_1char:RET C"}},
        // A constant and a label spelt the same: each use finds its kind.
        RenameCase{{"CONSTANT wait, 05", "wait: SUB s0, wait", "JUMP NZ, wait"},
                   {"label wait -> wait_1"},
                   {"wait EQU  5", "wait_1: SUB s0 , wait", " JUMP NZ , wait_1"}},
        // Where a register may stand, sa is register sA.
        RenameCase{{"CONSTANT sa, 05", "LOAD s0, sa"},
                   {"constant sa -> sa_const"},
                   {"sa_const EQU  5", " LOAD s0 , sa"}},
        // NAMEREG holds from its line on; a register has one name in the
        // dialect, so its second name is written as the register.
        RenameCase{{"NAMEREG s1, temp", "NAMEREG temp, count", "LOAD count, 05",
                    "NAMEREG count, s1", "NAMEREG s1, temp", "LOAD temp, 01"},
                   {"register count -> s1 from line 2"},
                   {"temp EQU s1", " ; NAMEREG temp, count", " LOAD s1 , 5", " ; NAMEREG count, s1",
                    " ; NAMEREG s1, temp", " LOAD temp , 1"}}));

TEST(ConvertKcpsmLines, NamesOfTheFileAreNeverNumbers) {
    EXPECT_EQ(ConvertKcpsmLines({"CONSTANT a, 09", "LOAD sF, a"}),
              (Lines{"a EQU  9", " LOAD sF , a"}));
    EXPECT_EQ(ConvertKcpsmLines({"NAMEREG s1, ab", "ADD s0, ab"}),
              (Lines{"ab EQU s1", " ADD s0 , ab"}));
    // The name may be defined after its use.
    EXPECT_EQ(ConvertKcpsmLines({"LOAD s0, cafe", "CONSTANT cafe, 0C"}),
              (Lines{" LOAD s0 , cafe", "cafe EQU  12"}));
    // Labels are names too.
    EXPECT_EQ(ConvertKcpsmLines({"JUMP NZ, ab", "ab: RETURN"}), (Lines{" JUMP NZ , ab", "ab:RET"}));
    EXPECT_EQ(ConvertKcpsmLines({"CALL fa", "fa: RETURN"}), (Lines{" CALL fa", "fa:RET"}));
    // Names are matched with their exact spelling.
    EXPECT_EQ(ConvertKcpsmLines({"CONSTANT Ab, 05", "LOAD s0, ab"}),
              (Lines{"Ab EQU  5", " LOAD s0 , $AB"}));
    // A name used as a CONSTANT value is not rewritten either.
    EXPECT_EQ(ConvertKcpsmLines({"CONSTANT a, 01", "CONSTANT b, a"}),
              (Lines{"a EQU  1", "b EQU  a"}));
}

TEST(ConvertKcpsmSource, FormatsTheRewrittenLines) {
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
} // namespace korvo
