#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

std::string SimSynopsis();

// Exit status of a simulation that stopped on an error.
inline constexpr int kExitHalted = 3;

// korvo sim: assembles SOURCE as korvo asm does, then runs it in the
// simulator, without sleeping, until it halts or N instructions have
// completed (1,000,000 unless given). Standard output gets every log line;
// with --trace also one line per completed instruction ("I <pc> <word>")
// followed by the port, scratch pad and memory accesses it made ("R", "W",
// "F", "S" with the port or offset and the value). At the end come the five
// status texts, the registers and the flags. --in PORT=VALUE sets the value
// of an input port without stimulus file; --interrupt-at N raises an
// interrupt event before instruction N (when N instructions have completed).
// Exit status 0 when the instruction limit was reached, 3 when the
// simulation halted with an error, 1 when the assembly failed, 2 for bad
// usage.
int RunSimCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace korvo::cli
