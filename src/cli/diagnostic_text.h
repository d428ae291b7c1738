#pragma once

#include "assembler/driver.h"

#include <string>
#include <vector>

namespace korvo::cli {

// A log line as a command prints it: an error of an included file
// ("?Include file:'a.inc', line 3: ?Label|Label not found") shows the
// sentence without the parser's kind word, as the source's own errors do;
// other lines stay as they are.
std::string CommandLogLine(const std::string& line);

// The lines use words of KCPSM sources that this dialect writes otherwise:
// NAMEREG, CONSTANT, ADDRESS, INPUT, OUTPUT, RETURNI, ENABLE INTERRUPT or
// DISABLE INTERRUPT as a line's statement.
bool UsesKcpsmWords(const std::vector<std::string>& lines);

} // namespace korvo::cli
