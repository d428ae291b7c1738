// The message framing both servers share: a byte stream in, the sequence of
// read results out ("M <json>", "X" for malformed, "E" for the end).
#include "protocol/message_queue.h"
#include "protocol/message_stream.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

#include <sstream>

namespace korvo::servers::test {
namespace {

std::string Shown(const TReadResult& result) {
    switch (result.Status) {
    case TReadStatus::Message:
        return "M " + QJsonDocument(result.Message).toJson(QJsonDocument::Compact).toStdString();
    case TReadStatus::Malformed: return "X";
    case TReadStatus::End: return "E";
    }
    return "?";
}

struct TFramingCase {
    const char* Name;
    std::string Input;
    std::vector<std::string> Expected;
};

std::string Frame(const std::string& body) {
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

class MessageFraming : public testing::TestWithParam<TFramingCase> {};

TEST_P(MessageFraming, ReadsInOrder) {
    std::istringstream in(GetParam().Input);
    TMessageReader reader(in, 100);
    std::vector<std::string> seen;
    for (int i = 0; i < 10; ++i) {
        seen.push_back(Shown(reader.Read()));
        if (seen.back() == "E") break;
    }
    EXPECT_EQ(seen, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageFraming,
    testing::Values(
        TFramingCase{"two_messages",
                     Frame(R"({"a":1})") + Frame(R"({"b":[2]})"),
                     {R"(M {"a":1})", R"(M {"b":[2]})", "E"}},
        TFramingCase{"bare_newlines_and_other_fields",
                     "content-length:  7\nContent-Type: application/vscode-jsonrpc\n\n{\"a\":1}",
                     {R"(M {"a":1})", "E"}},
        TFramingCase{"body_not_json_is_skipped_by_its_length",
                     Frame("{\"a\":") + Frame("{}"),
                     {"X", "M {}", "E"}},
        TFramingCase{"array_body", Frame("[1]") + Frame("{}"), {"X", "M {}", "E"}},
        TFramingCase{"header_without_length_resynchronises",
                     "Content-Type: x\r\n\r\n{\"lost\":1}" + Frame("{}"),
                     {"X", "M {}", "E"}},
        TFramingCase{"length_not_a_number",
                     "Content-Length: 1x\r\n\r\n{}" + Frame("{}"),
                     {"X", "M {}", "E"}},
        TFramingCase{"length_overflows",
                     "Content-Length: 99999999999999999999999\r\n\r\n" + Frame("{}"),
                     {"X", "M {}", "E"}},
        TFramingCase{"too_large_is_skipped",
                     "Content-Length: 101\r\n\r\n" + std::string(101, ' ') + Frame("{}"),
                     {"X", "M {}", "E"}},
        TFramingCase{"header_line_too_long",
                     std::string(5000, 'h') + "\r\n" + Frame("{}"),
                     {"X", "M {}", "E"}},
        TFramingCase{"body_cut_short", "Content-Length: 10\r\n\r\n{}", {"E"}},
        TFramingCase{"end_inside_header", "Content-Len", {"E"}},
        TFramingCase{"empty_input", "", {"E"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(MessageWriter, FramesByByteLength) {
    std::ostringstream out;
    TMessageWriter writer(out);
    writer.Write(QJsonObject{{"text", QString::fromUtf8("\xc3\xa9")}});
    EXPECT_EQ(out.str(), "Content-Length: 13\r\n\r\n{\"text\":\"\xc3\xa9\"}");
}

TEST(MessageQueue, WaitsAndEnds) {
    std::istringstream in(Frame("{}"));
    TMessageQueue queue(in);
    auto first = queue.WaitFor(std::chrono::seconds(10));
    ASSERT_TRUE(first);
    EXPECT_EQ(Shown(*first), "M {}");
    for (int i = 0; i < 2; ++i) {
        auto next = queue.WaitFor(std::chrono::seconds(10));
        ASSERT_TRUE(next);
        EXPECT_EQ(Shown(*next), "E");
    }
}

} // namespace
} // namespace korvo::servers::test
