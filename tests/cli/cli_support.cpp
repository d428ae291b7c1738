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

namespace {
// The folders MakeTempDir made, removed at the end of the program.
struct TMadeFolders {
    std::vector<std::string> Paths;
    ~TMadeFolders() {
        for (const auto& path : Paths) {
            std::error_code ignored;
            for (const auto& entry : std::filesystem::recursive_directory_iterator(path, ignored))
                if (entry.is_directory(ignored))
                    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                                 std::filesystem::perm_options::add, ignored);
            std::filesystem::remove_all(path, ignored);
        }
    }
};
TMadeFolders madeFolders;
} // namespace

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
    std::string dir = MakeTempDir();
    int raw = std::system(
        (command + " >" + ShellQuote(dir + "/out") + " 2>" + ShellQuote(dir + "/err")).c_str());
    TRunResult result;
    result.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.Out = ReadFile(dir + "/out");
    result.Err = ReadFile(dir + "/err");
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return result;
}

std::string MakeTempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/korvo-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const char* made = ::mkdtemp(buffer.data());
    if (!made) return {};
    madeFolders.Paths.emplace_back(made);
    return made;
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

TSimFixture::TSimFixture() : Dir(MakeTempDir()), Settings(Dir + "/settings.ini") {}

TSimFixture::~TSimFixture() {
    std::error_code ignored;
    std::filesystem::remove_all(Dir, ignored);
}

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
