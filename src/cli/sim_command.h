#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

inline constexpr const char* kSimSynopsis =
    "sim [--core I|II|3|CR] [--settings FILE] [--max-instructions N] "
    "[--scratchpad 0|16|32|64|128|256] [--in PORT=VALUE]... [--interrupt-at N]... [--trace] "
    "[--no-exec] SOURCE";

// Exit status of a simulation that stopped on an error.
inline constexpr int kExitHalted = 3;

inline constexpr const char* kSimHelp =
    "Assembles SOURCE as korvo asm does (the EXEC command included), then runs it\n"
    "in the simulator without sleeping until it halts or the instruction limit is\n"
    "reached. Standard output gets every log line and, at the end, the status\n"
    "texts, the registers and the flags; errors and failures also go to standard\n"
    "error as for korvo asm (a log or stimulus file of a port included).\n"
    "\n"
    "options:\n"
    "  --core I|II|3|CR          the processor core (default: the one chosen in\n"
    "                            the IDE)\n"
    "  --settings FILE           reads the settings from this INI file\n"
    "  --max-instructions N      stops after N instructions (default 1000000)\n"
    "  --scratchpad SIZE         scratch pad bytes of PicoBlaze 3: 0, 16, 32, 64,\n"
    "                            128 or 256 (default: the settings)\n"
    "  --in PORT=VALUE           the switches of an input port without stimulus\n"
    "                            file; quote a $ value for the shell: --in '0=$A5'\n"
    "  --interrupt-at N          raises an interrupt when N instructions have\n"
    "                            completed (repeatable)\n"
    "  --trace                   prints each instruction (I pc word) and each\n"
    "                            access it made (R, W, F, S address value)\n"
    "  --no-exec                 does not start the EXEC command\n"
    "  -h, --help                shows this text\n"
    "\n"
    "exit status:\n"
    "  0  ran to the instruction limit, every output written\n"
    "  1  errors in the source or its included files, or a VHDL template that\n"
    "     cannot be read\n"
    "  2  a bad command line, or a source that cannot be read\n"
    "  3  the simulation halted on an error\n"
    "  4  ran to the limit, but an output failed\n";

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
// simulation halted with an error, 4 when it reached the limit but a
// failure was logged, 1 when the assembly failed, 2 for bad usage.
int RunSimCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace korvo::cli
