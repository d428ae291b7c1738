// A KCPSM6 source converted as `korvo import --kcpsm6` does, with the files
// its INCLUDE lines name read from a private folder: a few small include
// files beside the source and in folders below it, one that includes itself
// and two that include each other.

#include "assembler/syn_picoblaze.h"
#include "fuzz_input.h"
#include "text/kcpsm_hex.h"
#include "text/kcpsm_import.h"

using namespace korvo;

namespace {

const std::filesystem::path& Folder() {
    return fuzz::PrivateFolder({
        {"uart.psm", "; UART helpers\nsend:\tOUTPUT s5, tx_port\t; byte out\n"
                     "\tRETURN\nCONSTANT tx_port, 01\n"},
        {"lib/math.psm", "add16:\tADD s0, s2\n\tADDCY s1, s3\n\tRETURN\n"
                         "INCLUDE \"../uart.psm\"\n"},
        {"lib/Table.PSM", "TABLE digits#, [30,31,32,33]\nSTRING hello$, \"Hi\"\n"},
        {"interfaces/leds.psm", "CONSTANT led_port, 80\nNAMEREG sF, leds\n"},
        {"self.psm", "LOAD s0, 01'd\nINCLUDE \"self.psm\"\n"},
        {"ping.psm", "INCLUDE \"pong.psm\"\nping: RETURN\n"},
        {"pong.psm", "INCLUDE \"ping.psm\"\npong: RETURN\n"},
        {"empty.psm", ""},
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TSynPicoBlaze scanner;
    static const std::string source = (Folder() / "main.psm").string();
    const std::vector<std::string> lines = fuzz::SourceLines(fuzz::Bytes(data, size));
    TKcpsmImportOptions options;
    options.Dialect = TKcpsmDialect::Kcpsm6;
    options.SourceFile = source;
    try {
        const TKcpsmConversion conversion =
            ImportKcpsmSource(scanner, lines, kKcpsm6Core, TFormatColumns{}, options);
        fuzz::Require(conversion.Origins.size() == conversion.Lines.size());
        fuzz::Require(!conversion.Files.empty() && conversion.Files.front() == source);
    } catch (const EFileError&) {
        // An included file that cannot be read: reported to the user.
    }
    return 0;
}
