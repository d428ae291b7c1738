#include "lsp/lsp_documents.h"

#include "common/text_file.h"
#include "lsp/lsp_text.h"

#include <QJsonObject>

#include <algorithm>

namespace korvo::servers::lsp {

namespace {

struct TLinePosition {
    std::size_t Line;
    std::size_t Byte;
};

TLinePosition PositionIn(const std::vector<std::string>& lines, const QJsonValue& position) {
    QJsonObject object = position.toObject();
    if (!object.value("line").isDouble() || !object.value("character").isDouble())
        throw EInvalidParams{"a change range needs line and character numbers"};
    double line = object.value("line").toDouble();
    if (line < 0 || line >= static_cast<double>(lines.size()))
        return {lines.size() - 1, lines.back().size()};
    auto index = static_cast<std::size_t>(line);
    int character = static_cast<int>(std::clamp(object.value("character").toDouble(), 0.0, 1e9));
    return {index, ByteOffsetOf(lines[index], character)};
}

void ApplyRange(std::vector<std::string>& lines, const QJsonObject& range, std::string_view text) {
    TLinePosition start = PositionIn(lines, range.value("start"));
    TLinePosition end = PositionIn(lines, range.value("end"));
    if (end.Line < start.Line || (end.Line == start.Line && end.Byte < start.Byte))
        std::swap(start, end);
    std::vector<std::string> inserted = SplitLines(text);
    inserted.front().insert(0, lines[start.Line], 0, start.Byte);
    inserted.back().append(lines[end.Line], end.Byte);
    auto first = lines.begin() + static_cast<std::ptrdiff_t>(start.Line);
    lines.erase(first + 1, lines.begin() + static_cast<std::ptrdiff_t>(end.Line) + 1);
    *first = std::move(inserted.front());
    lines.insert(first + 1, std::make_move_iterator(inserted.begin() + 1),
                 std::make_move_iterator(inserted.end()));
}

} // namespace

TOpenDocument& TDocumentStore::Open(const std::string& uri, int version, std::string_view text) {
    TOpenDocument& document = documents_[uri];
    document = TOpenDocument{uri, PathOfUri(uri), version, SplitLines(text)};
    return document;
}

TOpenDocument& TDocumentStore::Change(const std::string& uri, int version,
                                      const QJsonArray& changes) {
    auto found = documents_.find(uri);
    if (found == documents_.end()) throw EInvalidParams{"the document is not open: " + uri};
    TOpenDocument& document = found->second;
    for (const QJsonValue& value : changes) {
        QJsonObject change = value.toObject();
        if (!change.value("text").isString())
            throw EInvalidParams{"a content change needs its text"};
        std::string text = change.value("text").toString().toStdString();
        if (change.value("range").isObject())
            ApplyRange(document.Lines, change.value("range").toObject(), text);
        else
            document.Lines = SplitLines(text);
    }
    document.Version = version;
    return document;
}

void TDocumentStore::Close(const std::string& uri) {
    documents_.erase(uri);
}

const TOpenDocument* TDocumentStore::Find(const std::string& uri) const {
    auto found = documents_.find(uri);
    return found == documents_.end() ? nullptr : &found->second;
}

const TOpenDocument* TDocumentStore::FindPath(const std::string& path) const {
    for (const auto& [uri, document] : documents_)
        if (!document.Path.empty() && SameFile(document.Path, path)) return &document;
    return nullptr;
}

} // namespace korvo::servers::lsp
