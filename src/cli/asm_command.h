#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

std::string AsmSynopsis();

// korvo asm: assembles SOURCE as the IDE does. The log lines go to out, each
// error also to err as "FILE:LINE: error: MESSAGE". Exit status 0 when the
// assembly succeeded, 1 when it failed, 2 for bad usage or an unreadable
// source.
int RunAsmCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace korvo::cli
