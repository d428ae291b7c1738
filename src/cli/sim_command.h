#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

inline constexpr const char* kSimSynopsis =
    "sim [--core I|II|3|CR] [--settings FILE] [--max-instructions N] "
    "[--scratchpad 0|16|32|64|128|256] [--in PORT=VALUE]... [--interrupt-at N]... [--trace] "
    "[--no-exec] [--real-time] [--uart-baud N] [--uart-stdio | --uart-tcp [--uart-wait]] SOURCE";
inline constexpr const char* kSimHelp =
    "Assembles SOURCE and runs it in the simulator until it halts or N instructions\n"
    "have completed (1000000 unless given), then prints the status, registers and\n"
    "flags. --trace adds one line per instruction and per access.\n"
    "--real-time paces the run to the clock frequency. --uart-baud sets the UARTs'\n"
    "line speed; --uart-stdio connects the first UART to standard input and output\n"
    "(texts then go to standard error); --uart-tcp serves the UARTs' TCP ports on\n"
    "127.0.0.1, --uart-wait first waits for a client. A UART run has no instruction\n"
    "limit unless given and ends on an error, Ctrl+C, or once standard input is done.\n"
    "Exit status: 0 limit reached, 3 halted on an error, 1 assembly failed, 2 bad usage,\n"
    "128 + the signal when stopped by one.\n";

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
// --real-time paces the run to the clock frequency of the settings.
//
// UARTs run at the "UART"/"Baud" setting or --uart-baud N. --uart-stdio
// connects the first UART to standard input and output: the bytes it sends
// go to standard output as they are, standard input feeds what it receives,
// and every text (log, trace, report) goes to standard error instead.
// --uart-tcp serves each UART's declared TCP port on 127.0.0.1 (the bytes a
// UART sends wait for a client); --uart-wait waits for a client before the
// run starts. With either, a run has no instruction limit unless one is
// given; it ends at an error, on Ctrl+C or termination (exit status 128 +
// the signal), or, with --uart-stdio, one simulated second after standard
// input has ended and the program has read all of it and sent everything.
// The report then adds each UART's bytes sent, received and lost.
//
// Exit status 0 when the instruction limit was reached, 3 when the
// simulation halted with an error, 1 when the assembly failed, 2 for bad
// usage.
int RunSimCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace korvo::cli
