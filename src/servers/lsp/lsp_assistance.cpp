#include "assembler/directive_table.h"
#include "assembler/instruction_set.h"
#include "assembler/syn_picoblaze.h"
#include "common/hex_text.h"
#include "lsp/lsp_service.h"
#include "lsp/lsp_text.h"
#include "text/source_formatter.h"

#include <cctype>

namespace korvo::servers::lsp {

namespace {

// CompletionItemKind values of the protocol.
constexpr int kItemFunction = 3;
constexpr int kItemVariable = 6;
constexpr int kItemInterface = 8;
constexpr int kItemKeyword = 14;
constexpr int kItemConstant = 21;

int CompletionKind(TSymbolKind kind) {
    switch (kind) {
    case skLabel: return kItemFunction;
    case skRegister: return kItemVariable;
    case skDevice: return kItemInterface;
    case skNone:
    case skNumber:
    case skExpression:
    case skMnemonic:
    case skDirective:
    case skCondition:
    case skInterruptOption: return kItemConstant;
    }
    return kItemConstant;
}

std::string RegisterSpelling(int number, TCoreKind core) {
    return "s" + HexText(number, CoreDescription(core).RegisterDigits);
}

// The register a name such as "s3" or "S1F" stands for on the core, or -1.
int RegisterNumberOf(std::string_view name, TCoreKind core) {
    const TCoreDescription& description = CoreDescription(core);
    if (name.size() != static_cast<std::size_t>(1 + description.RegisterDigits) ||
        (name[0] != 's' && name[0] != 'S'))
        return -1;
    int number = 0;
    for (char c : name.substr(1)) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return -1;
        number = number * 16 + (std::isdigit(static_cast<unsigned char>(c))
                                    ? c - '0'
                                    : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10);
    }
    return number < description.RegisterNameCount ? number : -1;
}

bool HasInstruction(const TCoreEncoding& encoding, int index) {
    return encoding.Opcodes[static_cast<std::size_t>(index)] != encoding.UnsupportedMarker();
}

std::string InstructionText(int index, TCoreKind core) {
    const TCoreEncoding& encoding = CoreEncoding(core);
    const TCoreDescription& description = CoreDescription(core);
    std::string name(KeywordSpelling(MnemonicNames[static_cast<std::size_t>(index)]));
    if (!HasInstruction(encoding, index))
        return name + ": not an instruction of " + std::string(description.Title);
    return name + ": " + std::string(FlagEffectTable[static_cast<std::size_t>(index)]) +
           "\nWord on " + std::string(description.Title) + ": $" +
           HexText(encoding.Opcodes[static_cast<std::size_t>(index)], description.WordDigits());
}

QJsonObject PlainText(const std::string& text) {
    return {{"kind", "plaintext"}, {"value", QString::fromStdString(text)}};
}

} // namespace

QJsonValue TLanguageService::Hover(const QJsonObject& params) {
    auto word = WordAt(params);
    if (!word) return QJsonValue::Null;
    const TDocumentAnalysis& analysis = AnalysisOf(*word->Document);
    std::string text;
    if (word->Kind == tkOpcode) {
        if (int index = InstructionIndexOf(word->Text); index >= 0)
            text = InstructionText(index, analysis.Core);
    } else if (word->Kind == tkDirective) {
        text = UpperCase(word->Text) + ": directive";
    } else if (const TSourceSymbol* symbol = FindSourceSymbol(analysis.Symbols, word->Text)) {
        text = symbol->Name + ": " + DescribeSourceSymbol(*symbol, analysis.Core);
    } else if (int number = RegisterNumberOf(word->Text, analysis.Core); number >= 0) {
        text = "register " + RegisterSpelling(number, analysis.Core);
        for (const TSourceSymbol& alias : analysis.Symbols)
            if (alias.Kind == skRegister && alias.Value == number) text += ", also " + alias.Name;
    }
    if (text.empty()) return QJsonValue::Null;
    const std::string& line = word->Document->Lines[static_cast<std::size_t>(word->Line)];
    return QJsonObject{{"contents", PlainText(text)},
                       {"range", WordRangeJson(word->Line, line, word->Column, word->Text.size())}};
}

QJsonValue TLanguageService::Completion(const QJsonObject& params) {
    const TOpenDocument& document = DocumentOf(params);
    // The names of the text before the last change will do: the one being
    // typed is not complete yet.
    const TDocumentAnalysis& analysis = AnalysisOf(document, true);
    TCoreKind core = analysis.Core;
    QJsonArray items;
    auto add = [&](const std::string& label, int kind, const std::string& detail) {
        items.append(QJsonObject{{"label", QString::fromStdString(label)},
                                 {"kind", kind},
                                 {"detail", QString::fromStdString(detail)}});
    };
    const TCoreEncoding& encoding = CoreEncoding(core);
    for (int i = 0; i < kInstructionCount - 1; ++i)
        if (HasInstruction(encoding, i))
            add(std::string(KeywordSpelling(MnemonicNames[static_cast<std::size_t>(i)])),
                kItemKeyword,
                "instruction; " + std::string(FlagEffectTable[static_cast<std::size_t>(i)]));
    for (const TDirective& directive : kDirectives)
        add(std::string(directive.Keyword), kItemKeyword, "directive");
    for (int number = 0; number < CoreDescription(core).RegisterNameCount; ++number)
        add(RegisterSpelling(number, core), kItemVariable, "register");
    for (const TSourceSymbol& symbol : analysis.Symbols)
        add(symbol.Name, CompletionKind(symbol.Kind), DescribeSourceSymbol(symbol, core));
    return QJsonObject{{"isIncomplete", false}, {"items", items}};
}

QJsonValue TLanguageService::Formatting(const QJsonObject& params) {
    const TOpenDocument& document = DocumentOf(params);
    TSynPicoBlaze scanner;
    std::vector<std::string> formatted =
        FormatLines(scanner, document.Lines, CoreOf(document), ReadFormatColumns(settings_));
    QJsonArray edits;
    for (std::size_t i = 0; i < formatted.size() && i < document.Lines.size(); ++i) {
        if (formatted[i] == document.Lines[i]) continue;
        int line = static_cast<int>(i);
        edits.append(
            QJsonObject{{"range", RangeJson(line, 0, line, Utf16Length(document.Lines[i]))},
                        {"newText", QString::fromStdString(formatted[i])}});
    }
    return edits;
}

} // namespace korvo::servers::lsp
