// Runs every tests/data/lsp/*.lsp: sessions with `korvo lsp` over its pipes.
//
//   # a comment
//   $ ARGS          (the first line) starts korvo with these arguments
//                   (default: lsp)
//   --> JSON        a message to the server, framed; it goes on over the
//                   lines after it that begin with a blank
//   >>> TEXT        bytes to the server as they are (\r, \n written so)
//   <-- JSON        a message the server sends; the <-- lines in a row are
//                   matched in any order
//   close           closes the server's standard input
//   [N]             the server ends with exit status N
//
// In the JSON "$DATA" is the file URI of tests/data/lsp, "$TEXT(NAME)" the
// text of a file there as a JSON string; an expected "..." matches any
// value. No message may come that the session does not expect.
#include "data_files.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>

namespace korvo::servers::test {
namespace {

using korvo::test::DataPath;

constexpr int kWaitMs = 10000;

QByteArray Expand(std::string text) {
    const std::string uri = QUrl::fromLocalFile(QString::fromStdString(DataPath("lsp")))
                                .toString(QUrl::FullyEncoded)
                                .toStdString();
    for (auto at = text.find("$TEXT("); at != std::string::npos; at = text.find("$TEXT(")) {
        auto end = text.find(')', at);
        QString content = QString::fromStdString(
            korvo::test::ReadBytes(DataPath("lsp/" + text.substr(at + 6, end - at - 6))));
        QByteArray quoted = QJsonDocument(QJsonArray{content}).toJson(QJsonDocument::Compact);
        text.replace(at, end + 1 - at, quoted.mid(2, quoted.size() - 4).toStdString());
    }
    for (auto at = text.find("$DATA"); at != std::string::npos; at = text.find("$DATA", at))
        text.replace(at, 5, uri);
    return QByteArray::fromStdString(text);
}

QJsonObject Parsed(const QByteArray& json, const std::string& where) {
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(json, &error);
    EXPECT_TRUE(document.isObject()) << where << ": " << error.errorString().toStdString();
    return document.object();
}

bool Matches(const QJsonValue& expected, const QJsonValue& actual) {
    if (expected == QJsonValue("...")) return true;
    if (expected.isObject() && actual.isObject()) {
        QJsonObject e = expected.toObject(), a = actual.toObject();
        if (e.keys() != a.keys()) return false;
        for (const QString& key : e.keys())
            if (!Matches(e.value(key), a.value(key))) return false;
        return true;
    }
    if (expected.isArray() && actual.isArray()) {
        QJsonArray e = expected.toArray(), a = actual.toArray();
        if (e.size() != a.size()) return false;
        for (qsizetype i = 0; i < e.size(); ++i)
            if (!Matches(e[i], a[i])) return false;
        return true;
    }
    return expected == actual;
}

QByteArray Unescaped(const std::string& text) {
    QByteArray bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool escape = text[i] == '\\' && i + 1 < text.size();
        bytes.append(!escape ? text[i] : text[++i] == 'r' ? '\r' : text[i] == 'n' ? '\n' : text[i]);
    }
    return bytes;
}

// The server's messages as they come from its standard output.
class TServer {
public:
    explicit TServer(const QStringList& arguments) {
        process_.start(KORVO_EXECUTABLE, arguments);
        EXPECT_TRUE(process_.waitForStarted(kWaitMs));
    }
    ~TServer() {
        process_.kill();
        process_.waitForFinished(kWaitMs);
    }
    QProcess& Process() { return process_; }
    // The next message, or an empty object when none came in time.
    QJsonObject Next() {
        for (;;) {
            auto header = buffer_.indexOf("\r\n\r\n");
            if (header >= 0) {
                QByteArray head = buffer_.left(header);
                qsizetype length = head.mid(head.indexOf(':') + 1).trimmed().toLongLong();
                if (buffer_.size() >= header + 4 + length) {
                    QByteArray body = buffer_.mid(header + 4, length);
                    buffer_.remove(0, header + 4 + length);
                    return Parsed(body, "server message");
                }
            }
            if (!process_.waitForReadyRead(kWaitMs)) return {};
            buffer_ += process_.readAllStandardOutput();
        }
    }
    QByteArray Rest() { return buffer_ + process_.readAllStandardOutput(); }

private:
    QProcess process_;
    QByteArray buffer_;
};

class LspSession : public ::testing::TestWithParam<std::string> {};

TEST_P(LspSession, AnswersAsTheSessionShows) {
    std::vector<std::string> lines;
    {
        std::string text = korvo::test::ReadBytes(DataPath("lsp/" + GetParam()));
        for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
            end = std::min(text.find('\n', at), text.size());
            lines.push_back(text.substr(at, end - at));
        }
    }
    QStringList arguments{"lsp"};
    std::size_t i = 0;
    if (!lines.empty() && lines[0].starts_with("$ "))
        arguments = QString::fromStdString(lines[i++].substr(2)).split(' ', Qt::SkipEmptyParts);
    arguments << "--settings" << QString::fromStdString(DataPath("lsp/settings.ini"));
    TServer server(arguments);
    std::vector<QJsonObject> expected;
    auto checkExpected = [&](std::size_t line) {
        std::vector<QJsonObject> actual;
        std::string received;
        for (std::size_t n = 0; n < expected.size(); ++n) {
            actual.push_back(server.Next());
            received += QJsonDocument(actual.back()).toJson(QJsonDocument::Compact).toStdString();
            received += "\n";
        }
        for (const QJsonObject& want : expected) {
            auto found = std::find_if(actual.begin(), actual.end(),
                                      [&](const QJsonObject& got) { return Matches(want, got); });
            EXPECT_NE(found, actual.end())
                << GetParam() << ":" << line << ": no message like\n"
                << QJsonDocument(want).toJson(QJsonDocument::Compact).toStdString() << "\namong\n"
                << received;
            if (found != actual.end()) actual.erase(found);
        }
        expected.clear();
    };
    while (i < lines.size()) {
        std::size_t start = i;
        std::string marker = lines[i].substr(0, 4);
        std::string body = lines[i].size() > 4 ? lines[i].substr(4) : "";
        for (++i; i < lines.size() && lines[i].starts_with(" "); ++i)
            body += "\n" + lines[i];
        if (marker != "<-- " && !expected.empty()) checkExpected(start);
        if (marker == "--> ") {
            QByteArray json = Expand(body);
            server.Process().write("Content-Length: " + QByteArray::number(json.size()) +
                                   "\r\n\r\n" + json);
            server.Process().waitForBytesWritten(kWaitMs);
        } else if (marker == ">>> ") {
            server.Process().write(Unescaped(body));
            server.Process().waitForBytesWritten(kWaitMs);
        } else if (marker == "<-- ") {
            expected.push_back(Parsed(Expand(body), GetParam() + ":" + std::to_string(start + 1)));
        } else if (lines[start] == "close") {
            server.Process().closeWriteChannel();
        } else if (lines[start].starts_with("[")) {
            ASSERT_TRUE(server.Process().waitForFinished(kWaitMs)) << "the server did not end";
            EXPECT_EQ(server.Process().exitCode(), std::stoi(lines[start].substr(1)))
                << GetParam() << ":" << start + 1;
        }
    }
    if (!expected.empty()) checkExpected(lines.size());
    EXPECT_EQ(server.Rest().toStdString(), "") << GetParam() << ": messages nobody expected";
}

INSTANTIATE_TEST_SUITE_P(Korvo, LspSession,
                         ::testing::ValuesIn(korvo::test::DataFiles("lsp", {""}, ".lsp")),
                         [](const auto& info) {
                             return korvo::test::TestNameOf(
                                 info.param.substr(0, info.param.size() - 4));
                         });

} // namespace
} // namespace korvo::servers::test
