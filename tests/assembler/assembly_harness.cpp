#include "assembly_harness.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace korvo::test {

namespace {
// The directories made for the tests, removed when the test program ends.
struct TMadeDirectories {
    std::vector<std::string> Paths;
    ~TMadeDirectories() {
        std::error_code ignored;
        for (const auto& path : Paths)
            std::filesystem::remove_all(path, ignored);
    }
} madeDirectories;
} // namespace

std::string MakeTestDirectory() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/korvo-asm-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const char* made = ::mkdtemp(buffer.data());
    if (!made) return {};
    madeDirectories.Paths.emplace_back(made);
    return std::string(made) + "/";
}

std::string ScratchSourceName() {
    static const std::string name = MakeTestDirectory() + "prog.psm";
    return name;
}

void WriteTestFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace korvo::test
