#pragma once

#include "shell/document/text_encoding.h"

#include <QString>
#include <string>
#include <vector>

namespace korvo {

class IDocumentHost;

// A name as the file system spells it.
std::string FileSystemName(const QString& fileName);

// The file of a document: its name (none, or a pattern such as "*.psm"
// while the text has no file yet), the encoding its text was read in and
// is written back in, and the number of an untitled document.
class TDocumentFile {
public:
    explicit TDocumentFile(IDocumentHost& host) : host_(host) {}
    ~TDocumentFile();
    TDocumentFile(const TDocumentFile&) = delete;
    TDocumentFile& operator=(const TDocumentFile&) = delete;

    const QString& Name() const { return name_; }
    // A new name; an untitled document gives its number back.
    void SetName(const QString& name);
    bool IsUntitled() const { return name_.isEmpty() || name_.contains('*'); }
    // "UntitledN" (with the extension of a pattern), else the name without
    // its folder.
    QString Title();
    int UntitledNumber() const { return untitledNumber_; }
    void ReleaseUntitledNumber();

    TTextEncoding Encoding() const { return encoding_; }
    void SetEncoding(TTextEncoding encoding) { encoding_ = encoding; }
    // A file's bytes as the editor's text, with CR LF line ends; a last line
    // without a line end keeps it that way. Takes the encoding of the bytes.
    std::string Decode(const std::string& fileBytes);
    // Reads and decodes a file; throws when it cannot be read.
    std::string Read(const QString& fileName);
    // Writes the editor's text in the encoding (UTF-8 from now on when the
    // text needs it); throws when it cannot.
    void Write(const QString& fileName, const std::string& editorBytes);
    // The editor's text as lines in the encoding, as the assembler and the
    // formatter read them.
    std::vector<std::string> SourceLines(const std::string& editorBytes) const;
    // Lines in the encoding as the editor shows them.
    std::vector<std::string> EditorLines(const std::vector<std::string>& lines) const;

private:
    IDocumentHost& host_;
    QString name_;
    TTextEncoding encoding_ = TTextEncoding::Utf8;
    int untitledNumber_ = -1;
};

} // namespace korvo
