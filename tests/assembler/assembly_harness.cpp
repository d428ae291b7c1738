#include "assembly_harness.h"

#include <fstream>

namespace korvo::test {

std::string ScratchSourceName() {
    return SharedScratchFolder().File("prog.psm");
}

void WriteTestFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace korvo::test
