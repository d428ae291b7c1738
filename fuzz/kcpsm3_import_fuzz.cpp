// A KCPSM3 source converted as `korvo import` does: the rewrite into the
// dialect, then the formatter over every line.

#include "assembler/syn_picoblaze.h"
#include "fuzz_input.h"
#include "text/kcpsm_hex.h"
#include "text/kcpsm_import.h"

using namespace korvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TSynPicoBlaze scanner;
    const std::vector<std::string> lines = fuzz::SourceLines(fuzz::Bytes(data, size));
    TKcpsmImportOptions options;
    options.Dialect = TKcpsmDialect::Kcpsm3;
    options.SourceFile = "import.psm";
    const TKcpsmConversion conversion =
        ImportKcpsmSource(scanner, lines, kKcpsmCore, TFormatColumns{}, options);
    // One converted line for each source line, after the header.
    fuzz::Require(conversion.Lines.size() == conversion.HeaderLines + lines.size());
    fuzz::Require(conversion.Origins.size() == conversion.Lines.size());
    return 0;
}
