#include "assembler/syn_picoblaze.h"
#include "common/assembly_sink.h"
#include "common/settings_layout.h"
#include "common/text_file.h"
#include "lsp/lsp_service.h"
#include "lsp/lsp_text.h"

#include <algorithm>

namespace korvo::servers::lsp {

namespace {

// DiagnosticSeverity.Error
constexpr int kSeverityError = 1;

QJsonObject DiagnosticJson(const TAssemblyDiagnostic& error,
                           const std::vector<std::string>& lines) {
    int line = std::max(error.Line - 1, 0);
    std::string_view text =
        static_cast<std::size_t>(line) < lines.size() ? std::string_view(lines[line]) : "";
    QJsonObject range = error.Word.Length > 0
                            ? WordRangeJson(line, text, static_cast<std::size_t>(error.Word.Column),
                                            static_cast<std::size_t>(error.Word.Length))
                            : RangeJson(line, 0, line, Utf16Length(text));
    QJsonObject diagnostic{{"range", range},
                           {"severity", kSeverityError},
                           {"source", "korvo"},
                           {"message", QString::fromStdString(DiagnosticSentence(error))}};
    if (!error.Kind.empty()) diagnostic.insert("code", QString::fromStdString(error.Kind));
    return diagnostic;
}

} // namespace

std::optional<TCoreKind> CoreSetting(const QJsonValue& value) {
    if (value.isNull() || value.isUndefined()) return std::nullopt;
    std::string name =
        value.isDouble() ? std::to_string(value.toInt()) : value.toString().toStdString();
    if (name.empty()) return std::nullopt;
    if (auto kind = CoreKindFromName(name)) return kind;
    throw EInvalidParams{"unknown core '" + name + "' (use " + CoreCommandNames(", ", " or ") +
                         ")"};
}

TLanguageService::TLanguageService(const ISettingsStore& settings,
                                   std::optional<TCoreKind> defaultCore)
    : settings_(settings), defaultCore_(defaultCore) {}

TCoreKind TLanguageService::CoreOf(const TOpenDocument& document) const {
    if (clientCore_) return *clientCore_;
    if (defaultCore_) return *defaultCore_;
    return document.Path.empty() ? settings::LoadCoreKind(settings_)
                                 : settings::CoreKindForFile(settings_, document.Path);
}

TDocumentAnalysis& TLanguageService::AssembledOf(const TOpenDocument& document) {
    TCoreKind core = CoreOf(document);
    TDocumentAnalysis& analysis = analyses_[document.Uri];
    if (analysis.Assembled && analysis.Version == document.Version && analysis.Core == core)
        return analysis;
    analysis = TDocumentAnalysis{};
    analysis.Version = document.Version;
    analysis.Core = core;
    TSynPicoBlaze parser;
    TAssemblyImage image(core, settings::LoadCoreOptions(settings_, core).ProgramSize);
    TNullLog log;
    TAssemblyContext context{parser, &image, log, settings_, nullptr};
    context.WriteOutput = false;
    std::vector<std::string> listing;
    AssembleSource(context, document.Path, document.Lines, listing, &analysis.Errors);
    analysis.IncludedFiles = parser.Directives().IncludeFiles;
    analysis.Assembled = true;
    return analysis;
}

const TDocumentAnalysis& TLanguageService::AnalysisOf(const TOpenDocument& document, bool stale) {
    if (auto found = analyses_.find(document.Uri); stale && found != analyses_.end() &&
                                                   found->second.HasSymbols &&
                                                   found->second.Core == CoreOf(document))
        return found->second;
    TDocumentAnalysis& analysis = AssembledOf(document);
    if (!analysis.HasSymbols) {
        analysis.Symbols = CollectSourceSymbols(analysis.Core, document.Path, document.Lines);
        analysis.HasSymbols = true;
    }
    return analysis;
}

void TLanguageService::Prepare(const std::string& uri) {
    if (const TOpenDocument* document = documents_.Find(uri)) AnalysisOf(*document);
}

std::vector<std::string> TLanguageService::LinesOf(const std::string& path) const {
    if (const TOpenDocument* open = documents_.FindPath(path)) return open->Lines;
    try {
        return ReadTextLines(path);
    } catch (const EFileError&) {
        return {};
    }
}

std::vector<TPublishedDiagnostics> TLanguageService::Diagnose(const std::string& uri) {
    const TOpenDocument* document = documents_.Find(uri);
    if (!document) return {};
    const TDocumentAnalysis& analysis = AssembledOf(*document);
    // The document first, then the included files in the order of their
    // first error.
    std::vector<TPublishedDiagnostics> published{{uri, {}}};
    std::vector<std::string> files;
    std::map<std::string, std::vector<std::string>> includedLines;
    for (const TAssemblyDiagnostic& error : analysis.Errors) {
        bool own = error.FileName == document->Path;
        if (own) {
            published.front().Diagnostics.append(DiagnosticJson(error, document->Lines));
            continue;
        }
        auto lines = includedLines.find(error.FileName);
        if (lines == includedLines.end()) {
            lines = includedLines.emplace(error.FileName, LinesOf(error.FileName)).first;
            files.push_back(error.FileName);
            published.push_back({UriOfPath(error.FileName), {}});
        }
        auto target = std::find(files.begin(), files.end(), error.FileName) - files.begin();
        published[static_cast<std::size_t>(target) + 1].Diagnostics.append(
            DiagnosticJson(error, lines->second));
    }
    for (const std::string& before : publishedFiles_[uri])
        if (std::find(files.begin(), files.end(), before) == files.end())
            published.push_back({UriOfPath(before), {}});
    publishedFiles_[uri] = std::move(files);
    return published;
}

std::vector<TPublishedDiagnostics> TLanguageService::Forget(const std::string& uri) {
    std::vector<TPublishedDiagnostics> published{{uri, {}}};
    for (const std::string& file : publishedFiles_[uri])
        published.push_back({UriOfPath(file), {}});
    publishedFiles_.erase(uri);
    analyses_.erase(uri);
    return published;
}

} // namespace korvo::servers::lsp
