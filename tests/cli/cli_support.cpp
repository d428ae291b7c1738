#include "cli_support.h"

#include "cli/commands.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace korvo::cli::test {

namespace {
std::string Quote(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}
} // namespace

TRunResult RunInProcess(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    TRunResult result;
    result.Status = RunKorvo(args, out, err);
    result.Out = out.str();
    result.Err = err.str();
    return result;
}

TRunResult RunExecutable(const std::vector<std::string>& args,
                         const std::vector<std::string>& environment) {
    korvo::test::TScratchFolder scratch;
    const std::string& dir = scratch.Path();
    std::string command;
    if (!environment.empty()) {
        command = "env";
        for (const auto& assignment : environment)
            command += " " + Quote(assignment);
        command += " ";
    }
    command += Quote(KORVO_EXECUTABLE);
    for (const auto& arg : args)
        command += " " + Quote(arg);
    command += " >" + Quote(dir + "/out") + " 2>" + Quote(dir + "/err");
    int raw = std::system(command.c_str());
    TRunResult result;
    result.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.Out = ReadFile(dir + "/out");
    result.Err = ReadFile(dir + "/err");
    return result;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

} // namespace korvo::cli::test
