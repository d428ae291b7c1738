#pragma once

#include <QJsonObject>

#include <cstddef>
#include <iosfwd>
#include <mutex>
#include <string>

namespace korvo::servers {

// Messages framed by a "Content-Length: N" header, an empty line and N
// bytes of JSON: the framing the language server and the debug adapter
// protocols share.

enum class TReadStatus { Message, End, Malformed };

struct TReadResult {
    TReadStatus Status = TReadStatus::End;
    // The message, when Status is Message.
    QJsonObject Message;
    // What was wrong, when Status is Malformed.
    std::string Error;
};

// Reads framed messages from a stream, blocking until one is complete.
class TMessageReader {
public:
    // A body above maxBodyBytes is skipped as malformed rather than held.
    explicit TMessageReader(std::istream& in, std::size_t maxBodyBytes = kDefaultMaxBodyBytes);

    // The next message. End at the end of the input, also within a message
    // (the client went away). After Malformed the next Read goes on with the
    // next message: a bad body is skipped by its length, a bad header by
    // looking for the next "Content-Length:".
    TReadResult Read();

    static constexpr std::size_t kDefaultMaxBodyBytes = 64 * 1024 * 1024;

private:
    enum class TLine { Read, TooLong, End };
    TLine ReadHeaderLine(std::string& line);
    // Reads up to and including the next "Content-Length:" (in any case);
    // false at the end of the input.
    bool SkipToNextHeader();

    std::istream& in_;
    std::size_t maxBodyBytes_;
    // A bad header leaves the reader between messages: it skips to the next
    // "Content-Length:".
    bool resynchronising_ = false;
};

// Writes framed messages; safe to call from several threads, each message is
// written whole and flushed.
class TMessageWriter {
public:
    explicit TMessageWriter(std::ostream& out);
    void Write(const QJsonObject& message);

private:
    std::ostream& out_;
    std::mutex mutex_;
};

} // namespace korvo::servers
