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

std::string FormatSynopsis();
std::string ImportSynopsis();
// What "korvo format --help" and "korvo import --help" print after the
// synopsis.
std::string FormatHelp();
std::string ImportHelp();

} // namespace korvo::cli
