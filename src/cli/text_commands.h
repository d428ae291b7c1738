#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

// korvo format [--core C] [--columns C1,C2,C3] [--settings FILE] [-i] FILE:
// the file formatted line by line, to standard output or, with -i, back into
// FILE in one step.
int RunFormat(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// korvo import [--core C] [--columns C1,C2,C3] [--settings FILE] [-o OUT]
// [--check KCPSM.hex] FILE: a KCPSM source converted into the dialect and
// formatted, to standard output or into OUT; each renamed name is reported on
// err. With --check the converted source is assembled for PicoBlaze 3 and
// compared with the KCPSM3 assembler's .hex file (and only written with -o).
int RunImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

inline constexpr const char* kFormatSynopsis =
    "format [--core I|II|3|CR] [--columns C1,C2,C3] [--settings FILE] [-i] FILE";
inline constexpr const char* kImportHelp =
    "Converts a KCPSM3 source into the Korvo dialect and lays it out, to standard\n"
    "output or into OUT. Names the dialect cannot take (names that differ only in\n"
    "letter case, keywords of the dialect, names that start with a digit) are\n"
    "renamed at their definition and every use; the renames head the converted\n"
    "file as comments and are listed on standard error.\n"
    "\n"
    "--check KCPSM.hex assembles the converted source for PicoBlaze 3 and compares\n"
    "its 1024 words with the .hex file the KCPSM3 assembler wrote for the source\n"
    "(1024 lines of 5 hexadecimal digits). It prints the first differing addresses\n"
    "with both words and the source line, or that all words agree; the converted\n"
    "source is then written only with -o.\n"
    "Exit status: 0 converted (with --check: all 1024 words agree), 1 words differ\n"
    "or the converted source does not assemble, 2 bad usage or an unreadable file.\n";
inline constexpr const char* kImportSynopsis =
    "import [--core I|II|3|CR] [--columns C1,C2,C3] [--settings FILE] [-o OUT] [--check KCPSM.hex] "
    "FILE";

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

} // namespace korvo::cli
