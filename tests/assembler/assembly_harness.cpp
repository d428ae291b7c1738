#include "assembly_harness.h"

#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace korvo::test {

std::string MakeTestDirectory() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/korvo-asm-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const char* made = ::mkdtemp(buffer.data());
    return made ? std::string(made) + "/" : std::string();
}

std::string ScratchSourceName() {
    static const std::string name = MakeTestDirectory() + "prog.psm";
    return name;
}

void WriteTestFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace korvo::test
