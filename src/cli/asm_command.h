#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

inline constexpr const char* kAsmSynopsis =
    "asm [--core I|II|3|CR] [--listing FILE|-] [--no-exec] [--settings FILE] SOURCE";
inline constexpr const char* kAsmHelp =
    "Assembles SOURCE as the IDE does and writes the files its directives name.\n"
    "The log lines go to standard output, each error also to standard error as\n"
    "FILE:LINE: error: MESSAGE. --listing writes the result of every line.\n"
    "Exit status: 0 assembled, 1 errors in the source, 2 bad usage or unreadable source.\n";

// korvo asm: assembles SOURCE as the IDE does. The log lines go to out, each
// error also to err as "FILE:LINE: error: MESSAGE". Exit status 0 when the
// assembly succeeded, 1 when it failed, 2 for bad usage or an unreadable
// source.
int RunAsmCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace korvo::cli
