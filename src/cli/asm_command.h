#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

inline constexpr const char* kAsmSynopsis =
    "asm [--core I|II|3|CR] [--listing FILE|-] [--no-exec] [--settings FILE] SOURCE";

inline constexpr const char* kAsmHelp =
    "Assembles SOURCE as the IDE does. The log lines go to standard output; each\n"
    "error also goes to standard error as FILE:LINE: error: MESSAGE, and each\n"
    "failure the log reports (an output file, a block RAM init file, the JTAG\n"
    "settings of the SVF file, the EXEC command) as SOURCE: error: MESSAGE.\n"
    "The COE, MEM, VHDL, HEX and SVF files the source names are written, and then\n"
    "the command of its EXEC directive is started. Relative file names in the\n"
    "source are taken in the folder of the file that names them.\n"
    "\n"
    "options:\n"
    "  --core I|II|3|CR  the processor core (default: the one chosen in the IDE)\n"
    "  --listing FILE|-  writes the result of every source line to FILE, or to\n"
    "                    standard output for -\n"
    "  --no-exec         does not start the EXEC command\n"
    "  --settings FILE   reads the settings from this INI file (default: the file\n"
    "                    in KORVO_SETTINGS, else the IDE's settings)\n"
    "  -h, --help        shows this text\n"
    "\n"
    "exit status:\n"
    "  0  assembled, every output written\n"
    "  1  errors in the source or its included files, or a VHDL template that\n"
    "     cannot be read\n"
    "  2  a bad command line, or a source that cannot be read\n"
    "  4  assembled, but an output failed\n";

// korvo asm: assembles SOURCE as the IDE does (see kAsmHelp).
int RunAsmCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace korvo::cli
