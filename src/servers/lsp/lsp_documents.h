#pragma once

#include <QJsonArray>

#include <map>
#include <string>
#include <vector>

namespace korvo::servers::lsp {

// A document the client has open: its text as the client last sent it.
struct TOpenDocument {
    std::string Uri;
    std::string Path; // the local file; empty for a document of no file
    int Version = 0;
    std::vector<std::string> Lines;
};

// Raised for parameters a request or notification cannot be served with.
struct EInvalidParams {
    std::string Message;
};

// The documents the client has open, by URI.
class TDocumentStore {
public:
    TOpenDocument& Open(const std::string& uri, int version, std::string_view text);
    // Applies the content changes of a didChange in their order: whole texts
    // and ranges (UTF-16 positions; a range beyond the text is clipped to
    // it). Throws EInvalidParams for a document that is not open or a change
    // without text.
    TOpenDocument& Change(const std::string& uri, int version, const QJsonArray& changes);
    void Close(const std::string& uri);
    const TOpenDocument* Find(const std::string& uri) const;
    // The open document of a local file, null when none.
    const TOpenDocument* FindPath(const std::string& path) const;
    const std::map<std::string, TOpenDocument>& Documents() const { return documents_; }

private:
    std::map<std::string, TOpenDocument> documents_;
};

} // namespace korvo::servers::lsp
