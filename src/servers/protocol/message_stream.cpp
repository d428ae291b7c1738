#include "protocol/message_stream.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <algorithm>
#include <cctype>
#include <istream>
#include <limits>
#include <ostream>
#include <string_view>

namespace korvo::servers {

namespace {
// Longer header lines are not headers of these protocols.
constexpr std::size_t kMaxHeaderLine = 1024;
constexpr std::string_view kLengthField = "content-length:";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool StartsHeader(const std::string& line) {
    return Lower(line.substr(0, kLengthField.size())) == kLengthField;
}

// The decimal value of a Content-Length field, or false when it is not one
// that fits a size.
bool ParseLength(const std::string& line, std::size_t& length) {
    std::size_t i = kLengthField.size();
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    if (i == line.size()) return false;
    length = 0;
    for (; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ' || c == '\t') break;
        if (c < '0' || c > '9') return false;
        if (length > (std::numeric_limits<std::size_t>::max() - 9) / 10) return false;
        length = length * 10 + static_cast<std::size_t>(c - '0');
    }
    for (; i < line.size(); ++i)
        if (line[i] != ' ' && line[i] != '\t') return false;
    return true;
}

TReadResult Malformed(std::string error) {
    return {TReadStatus::Malformed, {}, std::move(error)};
}
} // namespace

TMessageReader::TMessageReader(std::istream& in, std::size_t maxBodyBytes)
    : in_(in), maxBodyBytes_(maxBodyBytes) {}

// One line without its "\r\n" or "\n"; a line over kMaxHeaderLine is read to
// its end and reported as too long.
TMessageReader::TLine TMessageReader::ReadHeaderLine(std::string& line) {
    line.clear();
    bool tooLong = false;
    for (;;) {
        const int c = in_.get();
        if (c == std::char_traits<char>::eof()) return TLine::End;
        if (c == '\n') break;
        if (line.size() < kMaxHeaderLine)
            line.push_back(static_cast<char>(c));
        else
            tooLong = true;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return tooLong ? TLine::TooLong : TLine::Read;
}

bool TMessageReader::SkipToNextHeader() {
    std::size_t matched = 0;
    while (matched < kLengthField.size()) {
        const int c = in_.get();
        if (c == std::char_traits<char>::eof()) return false;
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        // The field name's first letter occurs in it only once, so a
        // mismatch can only restart the match at this character.
        if (lower == kLengthField[matched])
            ++matched;
        else
            matched = lower == kLengthField[0] ? 1 : 0;
    }
    return true;
}

TReadResult TMessageReader::Read() {
    std::string line;
    bool first = true;
    bool haveLength = false;
    std::size_t length = 0;
    // The header block: fields up to an empty line. A fault in it makes the
    // reader look for the next "Content-Length:" wherever it stands.
    for (;;) {
        TLine got = TLine::Read;
        if (resynchronising_) {
            if (!SkipToNextHeader()) return {};
            resynchronising_ = false;
            got = ReadHeaderLine(line);
            line.insert(0, kLengthField);
        } else {
            got = ReadHeaderLine(line);
        }
        if (got == TLine::End) return {};
        resynchronising_ = true;
        if (got == TLine::TooLong) return Malformed("header line too long");
        if (line.empty()) {
            // Blank lines between messages are tolerated.
            if (first) {
                resynchronising_ = false;
                continue;
            }
            if (!haveLength) return Malformed("header without Content-Length");
            break;
        }
        first = false;
        if (StartsHeader(line)) {
            if (!ParseLength(line, length)) return Malformed("bad Content-Length: " + line);
            haveLength = true;
        } else if (line.find(':') == std::string::npos) {
            return Malformed("not a header field: " + line.substr(0, 80));
        }
        // Other fields (Content-Type) are accepted and ignored.
        resynchronising_ = false;
    }
    resynchronising_ = false;
    if (length > maxBodyBytes_) {
        in_.ignore(static_cast<std::streamsize>(length));
        if (in_.eof()) return {};
        return Malformed("message of " + std::to_string(length) + " bytes is too large");
    }
    // Read in pieces, so that a length the client never sends costs no more
    // memory than what did arrive.
    constexpr std::size_t kPiece = 64 * 1024;
    std::string body;
    while (body.size() < length) {
        const std::size_t had = body.size();
        body.resize(had + std::min(kPiece, length - had));
        in_.read(body.data() + had, static_cast<std::streamsize>(body.size() - had));
        if (static_cast<std::size_t>(in_.gcount()) != body.size() - had) return {};
    }
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray::fromRawData(body.data(), static_cast<qsizetype>(length)), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return Malformed("body is not JSON: " + parseError.errorString().toStdString());
    if (!document.isObject()) return Malformed("body is not a JSON object");
    return {TReadStatus::Message, document.object(), {}};
}

TMessageWriter::TMessageWriter(std::ostream& out) : out_(out) {}

void TMessageWriter::Write(const QJsonObject& message) {
    const QByteArray body = QJsonDocument(message).toJson(QJsonDocument::Compact);
    std::lock_guard lock(mutex_);
    out_ << "Content-Length: " << body.size() << "\r\n\r\n";
    out_.write(body.constData(), body.size());
    out_.flush();
}

} // namespace korvo::servers
