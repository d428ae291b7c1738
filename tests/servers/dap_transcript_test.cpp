// Runs every tests/data/dap/*.dap: debug sessions with `korvo dap` over
// pipes, each in a scratch folder of its own.
//
//   # a comment
//   --- NAME     the lines up to the next marker are written to the file NAME
//   > JSON       a request sent to the adapter ("seq" and "type" are added)
//   > raw TEXT   bytes sent as they are ("\r" and "\n" stand for CR and LF)
//   > close      ends the adapter's input
//   < JSON       the next message that is not output has these members (any
//                others too); for an output event, the output of its
//                category from here on contains the text
//   = N          the adapter ends with exit status N
//
// $DIR stands for the session's folder.
#include "data_files.h"
#include "scratch_folder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>

namespace korvo::servers::test {
namespace {

namespace fs = std::filesystem;
constexpr int kWaitMs = 10'000;

// Whether actual has every member of expected, recursively (arrays item by
// item, of the same length).
bool Contains(const QJsonValue& actual, const QJsonValue& expected) {
    if (expected.isObject()) {
        if (!actual.isObject()) return false;
        const QJsonObject object = actual.toObject(), wanted = expected.toObject();
        for (auto it = wanted.begin(); it != wanted.end(); ++it)
            if (!object.contains(it.key()) || !Contains(object.value(it.key()), it.value()))
                return false;
        return true;
    }
    if (expected.isArray()) {
        const QJsonArray a = actual.toArray(), e = expected.toArray();
        if (!actual.isArray() || a.size() != e.size()) return false;
        for (qsizetype i = 0; i < e.size(); ++i)
            if (!Contains(a[i], e[i])) return false;
        return true;
    }
    return actual == expected;
}

// Adds an output event's text to the output of its category; false for
// another message.
bool Collect(std::map<QString, QString>& output, const QJsonObject& message) {
    if (message.value("event") != "output") return false;
    const QJsonObject body = message.value("body").toObject();
    output[body.value("category").toString()] += body.value("output").toString();
    return true;
}

class TAdapter {
public:
    explicit TAdapter(const QString& folder) {
        // Settings of its own: an empty file.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("KORVO_SETTINGS", folder + "/settings.ini");
        process_.setProcessEnvironment(environment);
        process_.setWorkingDirectory(folder);
        process_.start(KORVO_EXECUTABLE, {"dap"});
        process_.waitForStarted(kWaitMs);
    }
    ~TAdapter() {
        if (process_.state() != QProcess::NotRunning) process_.kill();
        process_.waitForFinished(kWaitMs);
    }
    void Send(const QByteArray& bytes) { process_.write(bytes); }
    void Close() { process_.closeWriteChannel(); }
    int ExitStatus() {
        if (!process_.waitForFinished(kWaitMs)) return -1;
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -2;
    }
    // The next message, or an empty object when none comes in time.
    QJsonObject Next() {
        for (;;) {
            int end = buffer_.indexOf("\r\n\r\n");
            if (end >= 0) {
                int length = buffer_.left(end).split(':').value(1).trimmed().toInt();
                if (buffer_.size() >= end + 4 + length) {
                    QByteArray body = buffer_.mid(end + 4, length);
                    buffer_.remove(0, end + 4 + length);
                    return QJsonDocument::fromJson(body).object();
                }
            }
            if (!process_.waitForReadyRead(kWaitMs)) return {};
            buffer_ += process_.readAllStandardOutput();
        }
    }

private:
    QProcess process_;
    QByteArray buffer_;
};

class DapTranscript : public testing::TestWithParam<std::string> {};

TEST_P(DapTranscript, Matches) {
    korvo::test::TScratchFolder folder;
    const QString dir = QString::fromStdString(folder.Path());
    std::ifstream in(GetParam());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    // The files first: the adapter reads them at the launch.
    std::string file, text;
    auto flush = [&] {
        if (!file.empty()) folder.Write(file, text);
        file.clear();
        text.clear();
    };
    for (const auto& line : lines) {
        if (line.starts_with("--- ")) {
            flush();
            file = line.substr(4);
        } else if (line.starts_with("> ") || line.starts_with("< ") || line.starts_with("= ")) {
            flush();
        } else if (!file.empty()) {
            text += line + "\n";
        }
    }
    flush();
    folder.Write("settings.ini", "");

    TAdapter adapter(dir);
    std::deque<QJsonObject> held; // messages read while looking for output
    std::map<QString, QString> output;
    int seq = 0, number = 0;
    for (auto line : lines) {
        ++number;
        SCOPED_TRACE(GetParam() + ":" + std::to_string(number));
        QString rest = QString::fromStdString(line.size() > 2 ? line.substr(2) : "");
        rest.replace("$DIR", dir);
        if (line.starts_with("> ")) {
            QByteArray bytes;
            if (rest == "close") {
                adapter.Close();
                continue;
            }
            if (rest.startsWith("raw ")) {
                bytes = rest.mid(4).replace("\\r", "\r").replace("\\n", "\n").toUtf8();
            } else {
                QJsonObject request = QJsonDocument::fromJson(rest.toUtf8()).object();
                ASSERT_FALSE(request.isEmpty()) << "not a JSON object: " << line;
                request["seq"] = ++seq;
                request["type"] = "request";
                QByteArray body = QJsonDocument(request).toJson(QJsonDocument::Compact);
                bytes = "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
            }
            adapter.Send(bytes);
        } else if (line.starts_with("< ")) {
            const QJsonObject expected = QJsonDocument::fromJson(rest.toUtf8()).object();
            ASSERT_FALSE(expected.isEmpty()) << "not a JSON object: " << line;
            if (expected.value("event") == "output") {
                const QJsonObject body = expected.value("body").toObject();
                const QString category = body.value("category").toString();
                const QString wanted = body.value("output").toString();
                while (!output[category].contains(wanted)) {
                    QJsonObject message = adapter.Next();
                    ASSERT_FALSE(message.isEmpty())
                        << "no output '" << wanted.toStdString()
                        << "', only: " << output[category].toStdString();
                    if (!Collect(output, message)) held.push_back(message);
                }
                output[category].clear();
                continue;
            }
            QJsonObject actual;
            do {
                if (!held.empty()) {
                    actual = held.front();
                    held.pop_front();
                } else {
                    actual = adapter.Next();
                }
            } while (Collect(output, actual));
            ASSERT_TRUE(Contains(actual, expected))
                << "expected " << line << "\n     got "
                << QJsonDocument(actual).toJson(QJsonDocument::Compact).toStdString();
            if (actual.isEmpty()) return;
        } else if (line.starts_with("= ")) {
            EXPECT_EQ(adapter.ExitStatus(), std::stoi(line.substr(2)));
        }
    }
}

std::vector<std::string> Transcripts() {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(korvo::test::DataPath("dap")))
        if (entry.path().extension() == ".dap") files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

INSTANTIATE_TEST_SUITE_P(Korvo, DapTranscript, testing::ValuesIn(Transcripts()),
                         [](const auto& info) { return fs::path(info.param).stem().string(); });

} // namespace
} // namespace korvo::servers::test
