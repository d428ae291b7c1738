#include "cli_support.h"

#include "cli/commands.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace korvo::cli::test {

std::string ShellQuote(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

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
    std::string command;
    if (!environment.empty()) {
        command = "env";
        for (const auto& assignment : environment)
            command += " " + ShellQuote(assignment);
        command += " ";
    }
    command += ShellQuote(KORVO_EXECUTABLE);
    for (const auto& arg : args)
        command += " " + ShellQuote(arg);
    return RunCommandLine(command);
}

TRunResult RunShell(const std::string& script) {
    return RunCommandLine("bash -o pipefail -c " + ShellQuote(script));
}

TRunResult RunCommandLine(const std::string& command) {
    korvo::test::TScratchFolder scratch;
    const std::string& dir = scratch.Path();
    int raw = std::system(
        (command + " >" + ShellQuote(dir + "/out") + " 2>" + ShellQuote(dir + "/err")).c_str());
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

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

TSimFixture::TSimFixture() : Dir(Scratch.Path()), Settings(Dir + "/settings.ini") {}

std::string TSimFixture::Source(const std::string& name, const std::string& text) {
    std::string path = Dir + "/" + name;
    WriteFile(path, text);
    return path;
}

TRunResult TSimFixture::Sim(std::vector<std::string> args) {
    args.insert(args.begin(), {"sim", "--settings", Settings});
    return RunInProcess(args);
}

TRunResult TSimFixture::SimExecutable(std::vector<std::string> args) {
    args.insert(args.begin(), {"sim", "--settings", Settings});
    return RunExecutable(args);
}

} // namespace korvo::cli::test
