#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

// One subcommand of the korvo tool: its arguments (without the command word)
// and the streams it writes to; returns the exit status.
using TCommandFunction = int (*)(const std::vector<std::string>& args, std::ostream& out,
                                 std::ostream& err);

struct TCommand {
    const char* Name;
    std::string (*Synopsis)();
    // What "korvo COMMAND --help" prints after the synopsis.
    std::string (*Help)();
    TCommandFunction Run;
};

// Every command the tool knows, in the order the usage text lists them.
const std::vector<TCommand>& Commands();

// Runs "korvo ARGS..." as the executable would.
int RunKorvo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace korvo::cli
