#pragma once

#include "common/core_kind.h"

#include <cstdint>
#include <string>

namespace korvo {

// The instruction a code word holds, written as the assembler reads it:
// "LOAD s0, $12", "JUMP NZ, $005", "IN s1, (s2)", "RETI ENABLE". A word that
// is no instruction of the core shows as "INST" and its value. The words are
// told apart by the simulator's decode table of the core, so what is shown
// is what the simulator executes.
std::string Disassemble(TCoreKind kind, std::uint32_t word);

} // namespace korvo
