#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

inline constexpr const char* kSimSynopsis =
    "sim [--core I|II|3|CR] [--settings FILE] [--max-instructions N] [--frequency MHZ] "
    "[--scratchpad 0|16|32|64|128|256] [--in PORT=VALUE]... [--interrupt-at N]... "
    "[--interrupt-every N] [--exit-port PORT] [--expect-out PORT=FILE]... [--trace] "
    "[--json FILE|-] [--vcd FILE] [--vcd-limit N] [--coverage FILE] [--no-exec] "
    "[--real-time] [--uart-baud N] [--uart-stdio | --uart-tcp [--uart-wait]] SOURCE";
inline constexpr const char* kSimHelp =
    "Assembles SOURCE as korvo asm does (the EXEC command included), then runs it\n"
    "in the simulator without sleeping until it halts, writes its exit port,\n"
    "writes a value --expect-out does not expect, or the instruction limit is\n"
    "reached (a UART run has no limit unless given and also ends on Ctrl+C or\n"
    "once standard input is done). Standard output gets every log line and, at\n"
    "the end, the status texts, the registers and the flags (standard error when\n"
    "the JSON or a UART has standard output); errors and failures also go to standard\n"
    "error as for korvo asm (a log or stimulus file of a port included). Ports\n"
    "and values: 255, $FF or 0xFF; quote a $ value for the shell: --in '0=$A5'.\n"
    "\n"
    "options:\n"
    "  --core I|II|3|CR      the processor core (default: the one chosen in the IDE)\n"
    "  --settings FILE       reads the settings from this INI file\n"
    "  --max-instructions N  stops after N instructions (default 1000000)\n"
    "  --frequency MHZ       the clock frequency instead of the settings'\n"
    "  --scratchpad SIZE     scratch pad bytes of PicoBlaze 3: 0, 16, 32, 64, 128\n"
    "                        or 256 (default: the settings)\n"
    "  --in PORT=VALUE       sets an input port without stimulus file (repeatable)\n"
    "  --interrupt-at N      raises an interrupt when N instructions have completed\n"
    "                        (repeatable)\n"
    "  --interrupt-every N   raises an interrupt every N instructions\n"
    "  --exit-port PORT      ends the run at the first OUT to PORT\n"
    "  --expect-out PORT=FILE  checks the values written to PORT against FILE's\n"
    "                        lines (repeatable)\n"
    "  --trace               prints each instruction (I pc word) and each access it\n"
    "                        made (R, W, F, S address value)\n"
    "  --json FILE|-         writes the end state as JSON\n"
    "  --vcd FILE            writes a waveform of the first --vcd-limit instructions\n"
    "  --vcd-limit N         (default 1000000)\n"
    "  --coverage FILE       writes an lcov tracefile\n"
    "  --no-exec             does not start the EXEC command\n"
    "  -h, --help            shows this text\n"
    "\n"
    "exit status:\n"
    "  0  done (exit port 0), every output written\n"
    "  1  errors in the source or its included files, or a VHDL template that\n"
    "     cannot be read\n"
    "  2  a bad command line, a source that cannot be read, or a --json, --vcd or\n"
    "     --coverage file that cannot be written\n"
    "  3  the simulation halted on an error\n"
    "  4  done, but an output failed (a file the source names, a log or stimulus\n"
    "     file, the SVF settings, the EXEC command)\n"
    "  5  the exit port got another value than 0, or none\n"
    "  6  a port was written other than --expect-out expects\n"
    "  128 + N  a UART run was stopped by signal N\n";

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
