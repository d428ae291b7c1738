#include "cli/kcpsm_check.h"

#include "assembler/driver.h"
#include "cli/arguments.h"
#include "common/assembly_sink.h"
#include "common/hex_text.h"
#include "common/text_file.h"
#include "text/kcpsm_hex.h"
#include "text/kcpsm_words.h"

#include <ostream>

namespace korvo::cli {

namespace {

// Differences listed before the rest are only counted.
constexpr int kShownDifferences = 10;

} // namespace

int CheckKcpsmConversion(const std::string& hexFile, const std::string& sourceFile,
                         const std::vector<std::string>& sourceLines,
                         const TKcpsmConversion& conversion, const ISettingsStore& settings,
                         std::ostream& out, std::ostream& err) {
    std::vector<std::uint32_t> expected;
    try {
        expected = ReadKcpsmHexFile(hexFile);
    } catch (const EFileError& failure) {
        err << "korvo import: " << failure.what() << "\n";
        return kExitUsage;
    }

    // Converted line n + HeaderLines is source line n.
    const auto header = static_cast<int>(conversion.HeaderLines);
    TAssemblyImage image(kKcpsmCore);
    TSynPicoBlaze parser;
    TNullLog log;
    TAssemblyContext context{parser, &image, log, settings, nullptr};
    std::vector<std::string> listing;
    std::vector<TAssemblyDiagnostic> diagnostics;
    if (!AssembleSource(context, sourceFile, conversion.Lines, listing, &diagnostics)) {
        for (const auto& diagnostic : diagnostics) {
            const bool inSource = diagnostic.FileName == sourceFile;
            err << diagnostic.FileName << ":"
                << (inSource ? diagnostic.Line - header : diagnostic.Line)
                << ": error: " << diagnostic.Message << "\n";
        }
        err << "korvo import: the converted source does not assemble for PicoBlaze 3\n";
        return kExitFailure;
    }

    const TCoreDescription& core = CoreDescription(kKcpsmCore);
    int differences = 0;
    for (int address = 0; address < kKcpsmHexWords; ++address) {
        const TCodeEntry entry = image.Entry(address);
        const std::uint32_t word = entry.HasCode ? entry.Word : 0;
        if (word == expected[static_cast<std::size_t>(address)]) continue;
        if (++differences > kShownDifferences) continue;
        out << "address " << HexText(address, core.AddressDigits()) << ": KCPSM "
            << HexText(expected[static_cast<std::size_t>(address)], core.WordDigits())
            << ", converted " << HexText(word, core.WordDigits());
        const int line = entry.HasCode ? entry.Line - header : 0;
        if (line >= 1 && line <= static_cast<int>(sourceLines.size()))
            out << ", line " << line << ": "
                << TrimKcpsmLine(sourceLines[static_cast<std::size_t>(line - 1)]);
        else
            out << ", no source line";
        out << "\n";
    }
    if (differences > kShownDifferences)
        out << "and " << differences - kShownDifferences << " more\n";
    out.flush();
    if (differences == 0) {
        out << "all " << kKcpsmHexWords << " words agree with " << hexFile << "\n";
        return kExitSuccess;
    }
    err << "korvo import: " << differences << " of " << kKcpsmHexWords << " words differ from "
        << hexFile << "\n";
    return kExitFailure;
}

} // namespace korvo::cli
