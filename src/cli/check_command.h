#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

// korvo check [--core C] [--settings FILE] [--json FILE|-] [--cycles FROM TO]
// SOURCE: what the program can do wrong at run time, found without running
// it, as FILE:LINE: error|warning|note: MESSAGE lines and a summary.
int RunCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
std::string CheckSynopsis();
std::string CheckHelp();

} // namespace korvo::cli
