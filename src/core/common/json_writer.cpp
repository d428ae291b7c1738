#include "common/json_writer.h"

#include "common/hex_text.h"

#include <charconv>
#include <cmath>
#include <ostream>
#include <string>

namespace korvo {

void TJsonWriter::NewLine() {
    out_ << '\n' << std::string(hasElement_.size() * 2, ' ');
}

void TJsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (hasElement_.empty()) return;
    if (hasElement_.back()) out_ << ',';
    hasElement_.back() = true;
    NewLine();
}

void TJsonWriter::Quoted(std::string_view text) {
    out_ << '"';
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            out_ << '\\' << c;
        else if (byte < 0x20)
            out_ << "\\u00" << HexText(byte, 2);
        else
            out_ << c;
    }
    out_ << '"';
}

TJsonWriter& TJsonWriter::Open(char bracket) {
    BeforeValue();
    out_ << bracket;
    hasElement_.push_back(false);
    return *this;
}

TJsonWriter& TJsonWriter::Close(char bracket) {
    bool any = hasElement_.back();
    hasElement_.pop_back();
    if (any) NewLine();
    out_ << bracket;
    if (hasElement_.empty()) out_ << '\n';
    return *this;
}

TJsonWriter& TJsonWriter::Key(std::string_view name) {
    BeforeValue();
    Quoted(name);
    out_ << ": ";
    afterKey_ = true;
    return *this;
}

TJsonWriter& TJsonWriter::String(std::string_view text) {
    BeforeValue();
    Quoted(text);
    return *this;
}

TJsonWriter& TJsonWriter::Integer(std::int64_t value) {
    BeforeValue();
    out_ << value;
    return *this;
}

TJsonWriter& TJsonWriter::Number(double value) {
    if (!std::isfinite(value)) return Null();
    BeforeValue();
    // The shortest text that reads back as the same double.
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out_ << std::string_view(buffer, static_cast<std::size_t>(end - buffer));
    return *this;
}

TJsonWriter& TJsonWriter::Boolean(bool value) {
    BeforeValue();
    out_ << (value ? "true" : "false");
    return *this;
}

TJsonWriter& TJsonWriter::Null() {
    BeforeValue();
    out_ << "null";
    return *this;
}

TJsonWriter& TJsonWriter::Integers(const std::vector<std::int64_t>& values) {
    BeforeValue();
    out_ << '[';
    for (std::size_t i = 0; i < values.size(); ++i)
        out_ << (i ? ", " : "") << values[i];
    out_ << ']';
    return *this;
}

} // namespace korvo
