#include "assembler/syn_picoblaze.h"
#include "lsp/lsp_service.h"
#include "lsp/lsp_text.h"

#include <algorithm>

namespace korvo::servers::lsp {

namespace {

// SymbolKind values of the protocol.
constexpr int kSymbolInterface = 11;
constexpr int kSymbolFunction = 12;
constexpr int kSymbolVariable = 13;
constexpr int kSymbolConstant = 14;

int DocumentSymbolKind(TSymbolKind kind) {
    switch (kind) {
    case skLabel: return kSymbolFunction;
    case skRegister: return kSymbolVariable;
    case skDevice: return kSymbolInterface;
    case skNone:
    case skNumber:
    case skExpression:
    case skMnemonic:
    case skDirective:
    case skCondition:
    case skInterruptOption: return kSymbolConstant;
    }
    return kSymbolConstant;
}

// Calls found(column, length) for each identifier of a line spelled as name
// (in any letter case).
template <typename TFound>
void ForEachUse(TSynPicoBlaze& scanner, std::string_view line, std::string_view name,
                TFound&& found) {
    for (scanner.SetLine(line, 0); !scanner.GetEol(); scanner.Next())
        if (scanner.GetTokenKind() == tkIdentifier &&
            SameTextIgnoringCase(scanner.GetToken(), name))
            found(static_cast<std::size_t>(scanner.GetTokenPos()), scanner.GetToken().size());
    scanner.SetLine({}, 0);
}

// The range of the first use of a name in a line; the line's start when it
// has none.
QJsonObject NameRange(const std::vector<std::string>& lines, int line, std::string_view name) {
    std::string_view text = line >= 0 && static_cast<std::size_t>(line) < lines.size()
                                ? std::string_view(lines[line])
                                : "";
    TSynPicoBlaze scanner;
    std::optional<QJsonObject> range;
    ForEachUse(scanner, text, name, [&](std::size_t column, std::size_t length) {
        if (!range) range = WordRangeJson(line, text, column, length);
    });
    return range ? *range : RangeJson(line, 0, line, 0);
}

bool IsValidName(const TSynPicoBlaze& scanner, const std::string& name) {
    if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
    for (unsigned char c : name)
        if (!TSynHighLighterIDE::IsIdentifierChar(c)) return false;
    return scanner.KeywordKind(UpperCase(name)) == tkIdentifier &&
           scanner.KeywordKind(name) == tkIdentifier;
}

} // namespace

const TOpenDocument& TLanguageService::DocumentOf(const QJsonObject& params) {
    QJsonValue uri = params.value("textDocument").toObject().value("uri");
    if (!uri.isString()) throw EInvalidParams{"textDocument.uri must be a string"};
    const TOpenDocument* document = documents_.Find(uri.toString().toStdString());
    if (!document)
        throw EInvalidParams{"the document is not open: " + uri.toString().toStdString()};
    return *document;
}

std::optional<TLanguageService::TWordAt> TLanguageService::WordAt(const QJsonObject& params) {
    const TOpenDocument& document = DocumentOf(params);
    QJsonObject position = params.value("position").toObject();
    if (!position.value("line").isDouble() || !position.value("character").isDouble())
        throw EInvalidParams{"position needs line and character numbers"};
    double line = position.value("line").toDouble();
    if (line < 0 || line >= static_cast<double>(document.Lines.size())) return std::nullopt;
    const std::string& text = document.Lines[static_cast<std::size_t>(line)];
    std::size_t at = ByteOffsetOf(
        text, static_cast<int>(std::clamp(position.value("character").toDouble(), 0.0, 1e9)));
    TSynPicoBlaze scanner;
    std::optional<TWordAt> word;
    // The token under the position, or the word that ends at it.
    for (scanner.SetLine(text, 0); !scanner.GetEol() && !word; scanner.Next()) {
        auto start = static_cast<std::size_t>(scanner.GetTokenPos());
        std::size_t end = start + scanner.GetToken().size();
        TTokenKind kind = scanner.GetTokenKind();
        bool isWord = kind == tkIdentifier || kind == tkOpcode || kind == tkDirective;
        if (isWord && start <= at && at <= end)
            word = TWordAt{&document, static_cast<int>(line), start,
                           std::string(scanner.GetToken()), kind};
        else if (start > at)
            break;
    }
    scanner.SetLine({}, 0);
    return word;
}

QJsonObject TLanguageService::SymbolLocation(const TSourceSymbol& symbol) {
    const TOpenDocument* open = documents_.FindPath(symbol.FileName);
    std::vector<std::string> lines = open ? open->Lines : LinesOf(symbol.FileName);
    return {{"uri", QString::fromStdString(open ? open->Uri : UriOfPath(symbol.FileName))},
            {"range", NameRange(lines, symbol.Line - 1, symbol.Name)}};
}

QJsonValue TLanguageService::Definition(const QJsonObject& params) {
    auto word = WordAt(params);
    if (!word || word->Kind != tkIdentifier) return QJsonValue::Null;
    const TSourceSymbol* symbol = FindSourceSymbol(AnalysisOf(*word->Document).Symbols, word->Text);
    if (!symbol) return QJsonValue::Null;
    return SymbolLocation(*symbol);
}

std::map<std::string, QJsonArray> TLanguageService::Uses(const TOpenDocument& document,
                                                         const std::string& name) {
    const TDocumentAnalysis& analysis = AnalysisOf(document);
    std::vector<std::string> files = analysis.IncludedFiles;
    if (const TSourceSymbol* symbol = FindSourceSymbol(analysis.Symbols, name);
        symbol && symbol->FileName != document.Path &&
        std::find(files.begin(), files.end(), symbol->FileName) == files.end())
        files.push_back(symbol->FileName);
    TSynPicoBlaze scanner;
    std::map<std::string, QJsonArray> uses;
    auto scan = [&](const std::string& uri, const std::vector<std::string>& lines) {
        for (std::size_t i = 0; i < lines.size(); ++i)
            ForEachUse(scanner, lines[i], name, [&](std::size_t column, std::size_t length) {
                uses[uri].append(WordRangeJson(static_cast<int>(i), lines[i], column, length));
            });
    };
    scan(document.Uri, document.Lines);
    for (const std::string& file : files) {
        const TOpenDocument* open = documents_.FindPath(file);
        if (open == &document) continue;
        scan(open ? open->Uri : UriOfPath(file), open ? open->Lines : LinesOf(file));
    }
    return uses;
}

QJsonValue TLanguageService::References(const QJsonObject& params) {
    auto word = WordAt(params);
    if (!word || word->Kind != tkIdentifier) return QJsonArray{};
    const TDocumentAnalysis& analysis = AnalysisOf(*word->Document);
    const TSourceSymbol* symbol = FindSourceSymbol(analysis.Symbols, word->Text);
    bool withDeclaration =
        params.value("context").toObject().value("includeDeclaration").toBool(true);
    QJsonObject declaration = symbol ? SymbolLocation(*symbol) : QJsonObject{};
    QJsonArray locations;
    for (const auto& [uri, ranges] : Uses(*word->Document, word->Text))
        for (const QJsonValue& range : ranges) {
            QJsonObject location{{"uri", QString::fromStdString(uri)}, {"range", range}};
            if (withDeclaration || location != declaration) locations.append(location);
        }
    return locations;
}

QJsonValue TLanguageService::Rename(const QJsonObject& params) {
    auto word = WordAt(params);
    if (!word || word->Kind != tkIdentifier ||
        !FindSourceSymbol(AnalysisOf(*word->Document).Symbols, word->Text))
        throw EInvalidParams{"there is no name of the program here to rename"};
    std::string newName = params.value("newName").toString().toStdString();
    TSynPicoBlaze scanner;
    if (!IsValidName(scanner, newName))
        throw EInvalidParams{"'" + newName +
                             "' is not a name: letters, digits and _, not a "
                             "keyword, not starting with a digit"};
    QJsonObject changes;
    for (const auto& [uri, ranges] : Uses(*word->Document, word->Text)) {
        QJsonArray edits;
        for (const QJsonValue& range : ranges)
            edits.append(
                QJsonObject{{"range", range}, {"newText", QString::fromStdString(newName)}});
        changes.insert(QString::fromStdString(uri), edits);
    }
    return QJsonObject{{"changes", changes}};
}

QJsonValue TLanguageService::DocumentSymbols(const QJsonObject& params) {
    const TOpenDocument& document = DocumentOf(params);
    const TDocumentAnalysis& analysis = AnalysisOf(document);
    TCoreKind core = analysis.Core;
    QJsonArray symbols;
    for (const TSourceSymbol& symbol : analysis.Symbols) {
        if (symbol.FileName != document.Path) continue;
        int line = symbol.Line - 1;
        int end = static_cast<std::size_t>(line) < document.Lines.size()
                      ? Utf16Length(document.Lines[static_cast<std::size_t>(line)])
                      : 0;
        symbols.append(
            QJsonObject{{"name", QString::fromStdString(symbol.Name)},
                        {"detail", QString::fromStdString(DescribeSourceSymbol(symbol, core))},
                        {"kind", DocumentSymbolKind(symbol.Kind)},
                        {"range", RangeJson(line, 0, line, end)},
                        {"selectionRange", NameRange(document.Lines, line, symbol.Name)}});
    }
    return symbols;
}

} // namespace korvo::servers::lsp
