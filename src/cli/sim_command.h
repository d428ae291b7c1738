#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

inline constexpr const char* kSimSynopsis =
    "sim [--core I|II|3|CR] [--settings FILE] [--max-instructions N] "
    "[--scratchpad 0|16|32|64|128|256] [--in PORT=VALUE]... [--interrupt-at N]... [--trace] "
    "[--no-exec] SOURCE";
inline constexpr const char* kSimHelp =
    "Assembles SOURCE and runs it in the simulator until it halts or N instructions\n"
    "have completed (1000000 unless given), then prints the status, registers and\n"
    "flags. --trace adds one line per instruction and per access.\n"
    "Exit status: 0 limit reached, 3 halted on an error, 1 assembly failed, 2 bad usage.\n";

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
