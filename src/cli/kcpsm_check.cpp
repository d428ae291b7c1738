#include "cli/kcpsm_check.h"

#include "assembler/driver.h"
#include "cli/arguments.h"
#include "common/assembly_sink.h"
#include "common/hex_text.h"
#include "common/text_file.h"
#include "text/kcpsm_hex.h"
#include "text/kcpsm_words.h"

#include <optional>
#include <ostream>

namespace korvo::cli {

namespace {

// Differences listed before the rest are only counted.
constexpr int kShownDifferences = 10;

} // namespace

int CheckKcpsmConversion(const std::vector<std::uint32_t>& expected, const std::string& hexFile,
                         const std::string& sourceFile, const std::vector<std::string>& sourceLines,
                         const TKcpsmConversion& conversion, const ISettingsStore& settings,
                         std::ostream& out, std::ostream& err) {
    const int words = static_cast<int>(expected.size());
    const bool six = words == kKcpsm6HexWords;
    // KCPSM6 writes the whole code space of the largest build.
    const TCoreKind kind = six ? kKcpsm6Core : kKcpsmCore;
    const char* coreName = six ? "PicoBlaze 6" : "PicoBlaze 3";

    // Where converted line n (from 1) came from.
    auto origin = [&](int line) -> std::optional<TKcpsmOrigin> {
        if (line < 1 || line > static_cast<int>(conversion.Origins.size())) return std::nullopt;
        TKcpsmOrigin from = conversion.Origins[static_cast<std::size_t>(line - 1)];
        return from.Line > 0 ? std::optional(from) : std::nullopt;
    };
    auto fileOf = [&](const TKcpsmOrigin& from) {
        return conversion.Files[static_cast<std::size_t>(from.File)];
    };

    TAssemblyImage image(kind);
    TSynPicoBlaze parser;
    TNullLog log;
    TAssemblyContext context{parser, &image, log, settings, nullptr};
    std::vector<std::string> listing;
    std::vector<TAssemblyDiagnostic> diagnostics;
    if (!AssembleSource(context, sourceFile, conversion.Lines, listing, &diagnostics)) {
        for (const auto& diagnostic : diagnostics) {
            auto from = diagnostic.FileName == sourceFile ? origin(diagnostic.Line) : std::nullopt;
            err << (from ? fileOf(*from) : diagnostic.FileName) << ":"
                << (from ? from->Line : diagnostic.Line) << ": error: " << diagnostic.Message
                << "\n";
        }
        err << "korvo import: the converted source does not assemble for " << coreName << "\n";
        return kExitFailure;
    }

    const TCoreDescription& core = CoreDescription(kind);
    int differences = 0;
    for (int address = 0; address < words; ++address) {
        const TCodeEntry entry = image.Entry(address);
        const std::uint32_t word = entry.HasCode ? entry.Word : 0;
        if (word == expected[static_cast<std::size_t>(address)]) continue;
        if (++differences > kShownDifferences) continue;
        out << "address " << HexText(address, core.AddressDigits()) << ": KCPSM "
            << HexText(expected[static_cast<std::size_t>(address)], core.WordDigits())
            << ", converted " << HexText(word, core.WordDigits());
        auto from = entry.HasCode ? origin(entry.Line) : std::nullopt;
        if (from && from->File == 0 && from->Line <= static_cast<int>(sourceLines.size()))
            out << ", line " << from->Line << ": "
                << TrimKcpsmLine(sourceLines[static_cast<std::size_t>(from->Line - 1)]);
        else if (from)
            out << ", " << fileOf(*from) << " line " << from->Line;
        else
            out << ", no source line";
        out << "\n";
    }
    if (differences > kShownDifferences)
        out << "and " << differences - kShownDifferences << " more\n";
    out.flush();
    if (differences == 0) {
        out << "all " << words << " words agree with " << hexFile << "\n";
        return kExitSuccess;
    }
    err << "korvo import: " << differences << " of " << words << " words differ from " << hexFile
        << "\n";
    return kExitFailure;
}

} // namespace korvo::cli
