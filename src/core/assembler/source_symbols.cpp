#include "assembler/source_symbols.h"

#include "assembler/syn_picoblaze.h"
#include "common/assembly_sink.h"
#include "common/hex_text.h"
#include "common/text_file.h"

#include <algorithm>

namespace korvo {

namespace {

// The names a line defines: labels before a colon, or the name in front of
// a directive (EQU, the port declarations).
std::vector<std::string> DefinedNames(TSynPicoBlaze& scanner, std::string_view line) {
    std::vector<std::string> names;
    scanner.SetLine(line, 0);
    if (scanner.GetTokenKind() == tkSpace) scanner.NextNonSpace();
    while (scanner.GetTokenKind() == tkIdentifier) {
        std::string name(scanner.GetToken());
        scanner.NextNonSpace();
        if (scanner.GetTokenKind() == tkColon) {
            names.push_back(std::move(name));
            scanner.NextNonSpace();
            continue;
        }
        if (scanner.GetTokenKind() == tkDirective) names.push_back(std::move(name));
        break;
    }
    return names;
}

} // namespace

std::vector<TSourceSymbol> CollectSourceSymbols(TCoreKind core, const std::string& fileName,
                                                const std::vector<std::string>& lines) {
    std::vector<TSourceSymbol> symbols;
    TSynPicoBlaze parser;
    TAssemblyImage image(core);
    parser.SetSourceDirectory(DirectoryPart(fileName));
    parser.SelectCore(core);
    parser.BeginPasses(image);
    // Included files are read at their INCL line, each once, as the
    // assembler reads them; a file that cannot be read adds nothing.
    std::vector<std::string> readFiles{fileName};
    auto scan = [&](auto& self, const std::vector<std::string>& text,
                    const std::string& file) -> void {
        for (std::size_t i = 0; i < text.size(); ++i) {
            parser.ParsePass1(text[i], static_cast<int>(i), image);
            for (std::string& name : DefinedNames(parser, text[i])) {
                auto value = parser.Symbols().Find(name);
                if (!value || FindSourceSymbol(symbols, name)) continue;
                symbols.push_back({std::move(name), file, static_cast<int>(i) + 1,
                                   SymbolKindOf(*value), SymbolValueOf(*value)});
            }
            for (const std::string& name : parser.TakeIncludedFiles()) {
                if (std::find(readFiles.begin(), readFiles.end(), name) != readFiles.end())
                    continue;
                readFiles.push_back(name);
                std::vector<std::string> included;
                try {
                    included = ReadTextLines(name);
                } catch (const EFileError&) {
                    continue;
                }
                std::string directory = parser.EnterIncludedFile(name);
                self(self, included, name);
                parser.LeaveIncludedFile(std::move(directory));
            }
        }
    };
    scan(scan, lines, fileName);
    return symbols;
}

const TSourceSymbol* FindSourceSymbol(const std::vector<TSourceSymbol>& symbols,
                                      std::string_view name) {
    for (const auto& symbol : symbols)
        if (SameTextIgnoringCase(symbol.Name, name)) return &symbol;
    return nullptr;
}

std::string DescribeSourceSymbol(const TSourceSymbol& symbol, TCoreKind core) {
    const TCoreDescription& description = CoreDescription(core);
    if (symbol.Kind == skLabel)
        return "label, address $" + HexText(symbol.Value, description.AddressDigits());
    if (symbol.Kind == skRegister)
        return "register s" + HexText(symbol.Value, description.RegisterDigits);
    if (symbol.Kind == skDevice) return "port $" + HexText(symbol.Value, 2);
    return "constant $" + HexText(symbol.Value, 2) + " (" + std::to_string(symbol.Value) + ")";
}

} // namespace korvo
