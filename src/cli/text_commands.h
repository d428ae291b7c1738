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
// [--kcpsm6] [--check KCPSM.hex] FILE: a KCPSM3 or KCPSM6 source converted
// into the dialect and formatted, to standard output or into OUT; each
// renamed name is reported on err. With --check the converted source is
// assembled for the core of the .hex file (PicoBlaze 3 for KCPSM3's 1024
// words, PicoBlaze 6 for KCPSM6's 4096) and compared with it (and only
// written with -o).
int RunImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

std::string FormatSynopsis();
std::string ImportSynopsis();
// What "korvo format --help" and "korvo import --help" print after the
// synopsis.
std::string FormatHelp();
std::string ImportHelp();

} // namespace korvo::cli
