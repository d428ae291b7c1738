#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

std::string SimSynopsis();
// What "korvo sim --help" prints after the synopsis.
std::string SimHelp();

// Exit statuses of korvo sim beyond those of every command (0 success,
// 1 assembly failed, 2 bad usage or a file that cannot be read or written).
inline constexpr int kExitHalted = 3;           // the simulation halted with an error
inline constexpr int kExitProgramFailed = 5;    // the exit port got a value other than 0, or none
inline constexpr int kExitUnexpectedOutput = 6; // a port was written other than expected

// korvo sim: assembles SOURCE as korvo asm does, then runs it in the
// simulator, without sleeping, until it halts, writes its exit port, writes
// an unexpected value or N instructions have completed (1,000,000 unless
// given). Standard output gets every log line; with --trace also one line
// per completed instruction ("I <pc> <word>") followed by the port, scratch
// pad and memory accesses it made ("R", "W", "F", "S" with the port or
// offset and the value). At the end come the five status texts, the
// registers and the flags, and the exit port's value.
//
// --in PORT=VALUE sets an input port (without stimulus file) or a
// bidirectional port; --interrupt-at N raises an interrupt event before
// instruction N (when N instructions have completed), --interrupt-every N
// before instructions N, 2N, ... --exit-port PORT ends the run at the first
// OUT to PORT (which needs no declaration); --expect-out PORT=FILE checks
// the values written to PORT against FILE's lines (numbers as in stimulus
// files) and stops at the first difference, reported on standard error.
// --json writes the end state (to standard output for "-", the text output
// then going to standard error), --vcd a waveform of the first --vcd-limit
// instructions (1,000,000 unless given), --coverage an lcov tracefile.
// --frequency replaces the clock frequency of the settings; --real-time
// paces the run to it.
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
int RunSimCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace korvo::cli
