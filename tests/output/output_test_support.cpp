#include "output_test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace korvo::test {

std::vector<std::uint32_t> EmptyProgram(TCoreKind kind) {
    return std::vector<std::uint32_t>(static_cast<std::size_t>(CoreTraits(kind).CodeSize), 0);
}

std::vector<std::uint32_t> FullProgram(TCoreKind kind) {
    const TCoreTraits& traits = CoreTraits(kind);
    const std::uint32_t mask = (1u << traits.WordBits) - 1;
    std::vector<std::uint32_t> words;
    for (std::uint32_t address = 0; address < static_cast<std::uint32_t>(traits.CodeSize);
         ++address)
        words.push_back((address * 0x2F1B7u + 0x15A3u) & mask);
    words.front() = mask;
    words.back() = mask;
    return words;
}

TOutputJob MakeJob(TCoreKind kind, std::vector<std::uint32_t> words) {
    TOutputJob job;
    job.CoreKind = kind;
    job.Words = std::move(words);
    job.CoeWidth = kind == TCoreKind::pbtII ? 18 : 8;
    return job;
}

TTempDir::TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvo-output-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    path_ = ::mkdtemp(buffer.data());
}

TTempDir::~TTempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string OutputDataPath(const std::string& name) {
    return std::string(KORVO_TEST_DATA_DIR) + "/output/" + name;
}

std::string GoldenText(const std::string& name) {
    return ReadBytes(OutputDataPath("golden/" + name));
}

bool TRecordingLauncher::Launch(const std::string& commandLine, std::string& errorText) {
    Commands.push_back(commandLine);
    if (!Succeeds) errorText = ErrorText;
    return Succeeds;
}

std::vector<std::string> RunWriters(const TOutputJob& job, const ISettingsStore& settings,
                                    IProcessLauncher* launcher) {
    TStringListLog log;
    WriteOutputFiles(job, TOutputEnvironment{log, settings, launcher});
    return log.Lines;
}

} // namespace korvo::test
