#include "cli/kcpsm_check.h"

#include "assembler/driver.h"
#include "cli/arguments.h"
#include "common/hex_text.h"
#include "common/text_file.h"
#include "simulator/debugger.h"
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
    auto simulator = CreateDebugger(TCoreKind::pbt3);
    TSynPicoBlaze parser;
    TNullLog log;
    TAssemblyContext context{parser, simulator.get(), log, settings, nullptr};
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

    int differences = 0;
    for (int address = 0; address < kKcpsmHexWords; ++address) {
        TCodeEntry entry;
        simulator->GetCodeEntry(address, entry);
        const std::uint32_t word = entry.HasCode ? entry.Word : 0;
        if (word == expected[static_cast<std::size_t>(address)]) continue;
        if (++differences > kShownDifferences) continue;
        out << "address " << HexText(address, 3) << ": KCPSM "
            << HexText(expected[static_cast<std::size_t>(address)], 5) << ", converted "
            << HexText(word, 5);
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
