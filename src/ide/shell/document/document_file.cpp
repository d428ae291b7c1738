#include "shell/document/document_file.h"

#include "common/text_file.h"
#include "shell/document/document_host.h"

#include <QFile>
#include <algorithm>

namespace korvo {

namespace {
// The extension of a name: from its last "." after the last separator.
QString ExtensionOf(const QString& fileName) {
    int separator = std::max(fileName.lastIndexOf('/'), fileName.lastIndexOf('\\'));
    int dot = fileName.lastIndexOf('.');
    return dot > separator ? fileName.mid(dot) : QString();
}

QString NameWithoutPath(const QString& fileName) {
    int separator = std::max(fileName.lastIndexOf('/'), fileName.lastIndexOf('\\'));
    return fileName.mid(separator + 1);
}
} // namespace

std::string FileSystemName(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}

TDocumentFile::~TDocumentFile() {
    ReleaseUntitledNumber();
}

void TDocumentFile::ReleaseUntitledNumber() {
    if (untitledNumber_ < 0) return;
    host_.ReleaseUntitledNumber(untitledNumber_);
    untitledNumber_ = -1;
}

void TDocumentFile::SetName(const QString& name) {
    if (name == name_) return;
    name_ = name;
    ReleaseUntitledNumber();
}

QString TDocumentFile::Title() {
    if (IsUntitled()) {
        if (untitledNumber_ < 0) untitledNumber_ = host_.TakeUntitledNumber();
        QString title = QStringLiteral("Untitled%1").arg(untitledNumber_);
        if (!name_.isEmpty()) title += ExtensionOf(name_);
        return title;
    }
    return NameWithoutPath(name_);
}

std::string TDocumentFile::Decode(const std::string& fileBytes) {
    TDecodedText decoded = DecodeText(fileBytes);
    encoding_ = decoded.Encoding;
    // Line ends become CR LF; a last line without one keeps it that way, so
    // the text shows no empty line that the file does not have.
    std::string text = JoinLinesCrLf(SplitLines(decoded.Utf8));
    char last = decoded.Utf8.empty() ? '\n' : decoded.Utf8.back();
    if (last != '\n' && last != '\r') text.resize(text.size() - 2);
    return text;
}

std::string TDocumentFile::Read(const QString& fileName) {
    return Decode(ReadFileBytes(FileSystemName(fileName)));
}

void TDocumentFile::Write(const QString& fileName, const std::string& editorBytes) {
    std::string lines = JoinLinesCrLf(SplitLines(editorBytes));
    WriteFileBytes(FileSystemName(fileName), EncodeText(lines, encoding_));
}

std::vector<std::string> TDocumentFile::SourceLines(const std::string& editorBytes) const {
    TTextEncoding encoding = encoding_;
    return SplitLines(EncodeText(editorBytes, encoding));
}

std::vector<std::string> TDocumentFile::EditorLines(const std::vector<std::string>& lines) const {
    std::vector<std::string> editorLines;
    editorLines.reserve(lines.size());
    for (const auto& line : lines) {
        // A formatted line of a UTF-8 text may hold a lone byte the
        // formatter marked; such a line shows byte for byte.
        bool asUtf8 = encoding_ == TTextEncoding::Utf8 && IsValidUtf8(line);
        editorLines.push_back(asUtf8 ? line : Latin1ToUtf8(line));
    }
    return editorLines;
}

} // namespace korvo
