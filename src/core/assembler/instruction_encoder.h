#pragma once

#include "assembler/parser_state.h"

#include <string>

namespace korvo {

// Pass 2 of an instruction line, with the scanner on the mnemonic: builds the
// word, stores it in the sink's code image at the current address and
// returns the listing text "$aaa $wwwww".
std::string EncodeInstruction(TLineContext& context);

} // namespace korvo
