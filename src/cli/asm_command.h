#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

std::string AsmSynopsis();

// What "korvo asm --help" prints after the synopsis.
std::string AsmHelp();

// korvo asm: assembles SOURCE as the IDE does (see AsmHelp).
int RunAsmCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace korvo::cli
