#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

std::string DapSynopsis();
// What "korvo dap --help" prints after the synopsis.
std::string DapHelp();

// korvo dap: the debug adapter on standard input and output. A launch
// request names the source in "program" and takes korvo sim's options by
// their long names without the dashes, each a string (true for a switch)
// or, for a repeatable one, an array of strings.
int RunDapCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace korvo::cli
