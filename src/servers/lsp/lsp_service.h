#pragma once

#include "assembler/driver.h"
#include "assembler/source_symbols.h"
#include "common/core_kind.h"
#include "common/settings.h"
#include "lsp/lsp_documents.h"

#include <QJsonArray>
#include <QJsonObject>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace korvo::servers::lsp {

// What the assembler made of one version of a document: its errors first
// (what the client waits for), the names it defines when asked.
struct TDocumentAnalysis {
    int Version = 0;
    TCoreKind Core = kDefaultCoreKind;
    bool Assembled = false;
    std::vector<TAssemblyDiagnostic> Errors;
    // The files the document includes, directly or through others.
    std::vector<std::string> IncludedFiles;
    bool HasSymbols = false;
    std::vector<TSourceSymbol> Symbols;
};

// The diagnostics of one file, as publishDiagnostics sends them.
struct TPublishedDiagnostics {
    std::string Uri;
    QJsonArray Diagnostics;
};

// The language features on the open documents: every request gets the
// protocol's params object and answers with its result. Parameters the
// request cannot be served with raise EInvalidParams.
class TLanguageService {
public:
    // settings: the per-file core choices and the formatter's columns;
    // defaultCore, when given, stands for the per-file choice.
    TLanguageService(const ISettingsStore& settings, std::optional<TCoreKind> defaultCore);

    TDocumentStore& Documents() { return documents_; }
    // The client's core for every file ("korvo.core"); nothing: the
    // per-file choice.
    void SetClientCore(std::optional<TCoreKind> core) { clientCore_ = core; }

    // The diagnostics of an open document, and of the files it includes that
    // have errors; the files that had some the last time and have none now
    // get an empty list.
    std::vector<TPublishedDiagnostics> Diagnose(const std::string& uri);
    // Collects the names of an open document ahead of the requests that
    // need them (done while the client is idle).
    void Prepare(const std::string& uri);
    // Empty diagnostics for a document the client closed.
    std::vector<TPublishedDiagnostics> Forget(const std::string& uri);

    QJsonValue Definition(const QJsonObject& params);
    QJsonValue References(const QJsonObject& params);
    QJsonValue Rename(const QJsonObject& params);
    QJsonValue Hover(const QJsonObject& params);
    QJsonValue Completion(const QJsonObject& params);
    QJsonValue DocumentSymbols(const QJsonObject& params);
    QJsonValue Formatting(const QJsonObject& params);

    // The core a document is assembled for.
    TCoreKind CoreOf(const TOpenDocument& document) const;

private:
    // The word under a position: its text, kind and place.
    struct TWordAt {
        const TOpenDocument* Document;
        int Line;
        std::size_t Column;
        std::string Text;
        TTokenKind Kind;
    };
    const TOpenDocument& DocumentOf(const QJsonObject& params);
    std::optional<TWordAt> WordAt(const QJsonObject& params);
    // The analysis of the document's text, assembled and with its names; a
    // completion while typing may take that of an earlier version (stale)
    // when it has them.
    const TDocumentAnalysis& AnalysisOf(const TOpenDocument& document, bool stale = false);
    // The analysis of the document's text, assembled at least.
    TDocumentAnalysis& AssembledOf(const TOpenDocument& document);
    // The lines of a file: the open document's, else those on disk (empty
    // when it cannot be read).
    std::vector<std::string> LinesOf(const std::string& path) const;
    QJsonObject SymbolLocation(const TSourceSymbol& symbol);
    // Every use of a name in the document and the files it includes (and
    // the file that defines it), by URI.
    std::map<std::string, QJsonArray> Uses(const TOpenDocument& document, const std::string& name);

    const ISettingsStore& settings_;
    std::optional<TCoreKind> defaultCore_;
    std::optional<TCoreKind> clientCore_;
    TDocumentStore documents_;
    std::map<std::string, TDocumentAnalysis> analyses_;
    // The files other than the document itself that got diagnostics, by
    // document.
    std::map<std::string, std::vector<std::string>> publishedFiles_;
};

// The core of a --core value or client setting ("I", "II", "3", "CR", "6"),
// nothing for an empty one; throws EInvalidParams for an unknown one.
std::optional<TCoreKind> CoreSetting(const QJsonValue& value);

} // namespace korvo::servers::lsp
