// The source formatter over a whole text: the first byte picks the core, the
// next three the columns, the rest is the text.

#include "assembler/syn_picoblaze.h"
#include "fuzz_input.h"
#include "text/source_formatter.h"

using namespace korvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    static TSynPicoBlaze scanner;
    const TFormatColumns columns{data[1], data[2], data[3]};
    const std::vector<std::string> lines = fuzz::SourceLines(fuzz::Bytes(data + 4, size - 4));
    const std::vector<std::string> formatted =
        FormatLines(scanner, lines, fuzz::CoreOf(data[0]), columns);
    fuzz::Require(formatted.size() == lines.size());
    return 0;
}
