#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

// korvo format [--core C] [--columns C1,C2,C3] [--settings FILE] [-i] FILE:
// the file formatted line by line, to standard output or, with -i, back into
// FILE in one step.
int RunFormat(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// korvo import [--core C] [--columns C1,C2,C3] [--settings FILE] [-o OUT] FILE:
// a KCPSM source converted into the dialect and formatted, to standard output
// or into OUT.
int RunImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

inline constexpr const char* kFormatSynopsis =
    "format [--core I|II|3|CR] [--columns C1,C2,C3] [--settings FILE] [-i] FILE";
inline constexpr const char* kImportSynopsis =
    "import [--core I|II|3|CR] [--columns C1,C2,C3] [--settings FILE] [-o OUT] FILE";

inline constexpr const char* kFormatHelp =
    "Lays the source FILE out in columns, as the IDE's Format command does, and\n"
    "prints it, or with -i writes it back into FILE.\n"
    "\n"
    "options:\n"
    "  --core I|II|3|CR   the core whose words are recognised (default: the IDE's)\n"
    "  --columns C1,C2,C3 the three columns (default: the settings)\n"
    "  --settings FILE    reads the settings from this INI file\n"
    "  -i                 writes the result back into FILE\n"
    "  -h, --help         shows this text\n"
    "\n"
    "exit status:\n"
    "  0  done\n"
    "  2  a bad command line, or a file that cannot be read or written\n";

inline constexpr const char* kImportHelp =
    "Converts the KCPSM source FILE into this dialect, lays it out in columns and\n"
    "prints it, or with -o writes it into OUT.\n"
    "\n"
    "options:\n"
    "  --core I|II|3|CR   the core the result is laid out for (default: the IDE's)\n"
    "  --columns C1,C2,C3 the three columns (default: the settings)\n"
    "  --settings FILE    reads the settings from this INI file\n"
    "  -o OUT             writes the result into OUT\n"
    "  -h, --help         shows this text\n"
    "\n"
    "exit status:\n"
    "  0  done\n"
    "  2  a bad command line, or a file that cannot be read or written\n";

} // namespace korvo::cli
