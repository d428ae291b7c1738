#include "cli_support.h"

#include "data_files.h"

#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

namespace korvo::cli::test {

std::string ShellQuote(const std::string& word) {
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

TRunResult RunShell(const std::string& script) {
    korvo::test::TScratchFolder scratch;
    int raw = std::system(("bash -o pipefail -c " + ShellQuote(script) + " >" +
                           ShellQuote(scratch / "out") + " 2>" + ShellQuote(scratch / "err"))
                              .c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, korvo::test::ReadBytes(scratch / "out"),
            korvo::test::ReadBytes(scratch / "err")};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

} // namespace korvo::cli::test
