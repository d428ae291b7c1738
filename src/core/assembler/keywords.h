#pragma once

#include "assembler/directive_table.h"

#include <array>
#include <string_view>

namespace korvo {

// The instruction words, in instruction-index order (the order of the
// opcode tables). A trailing "_" marks a word that takes operands; it is not
// part of the spelling. The words after INST came with PicoBlaze 6; they are
// keywords of every core. The last entry is empty.
inline constexpr std::array<std::string_view, 40> MnemonicNames{
    "JUMP_", "CALL_",  "RET_",   "RETI_", "EINT",  "DINT",  "SR0_",     "SR1_",  "SRX_",   "SRA_",
    "RR_",   "SL0_",   "SL1_",   "SLX_",  "SLA_",  "RL_",   "LOAD_",    "AND_",  "OR_",    "XOR_",
    "TEST_", "ADD_",   "ADDC_",  "SUB_",  "SUBC_", "COMP_", "IN_",      "OUT_",  "FETCH_", "STORE_",
    "INST_", "COMPC_", "TESTC_", "STAR_", "OUTK_", "RETL_", "HWBUILD_", "BANKA", "BANKB",  ""};

// Entries of the scanner's keyword table: each word in upper and in lower case.
inline constexpr int kKeywordSpellingCount =
    2 * static_cast<int>(MnemonicNames.size() + kDirectives.size());

// The spelling of a keyword list entry: without its trailing "_".
constexpr std::string_view KeywordSpelling(std::string_view entry) {
    return !entry.empty() && entry.back() == '_' ? entry.substr(0, entry.size() - 1) : entry;
}

} // namespace korvo
