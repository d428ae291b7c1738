#pragma once

#include <cstdint>
#include <iosfwd>
#include <string_view>
#include <vector>

namespace korvo {

// Writes one JSON document to a stream, two spaces per level of indentation:
// commas, quotes and escapes are its business, the caller says what comes.
// Inside an object every value follows a Key.
class TJsonWriter {
public:
    explicit TJsonWriter(std::ostream& out) : out_(out) {}

    TJsonWriter& BeginObject() { return Open('{'); }
    TJsonWriter& EndObject() { return Close('}'); }
    TJsonWriter& BeginArray() { return Open('['); }
    TJsonWriter& EndArray() { return Close(']'); }
    TJsonWriter& Key(std::string_view name);
    TJsonWriter& String(std::string_view text);
    TJsonWriter& Integer(std::int64_t value);
    TJsonWriter& Number(double value);
    TJsonWriter& Boolean(bool value);
    TJsonWriter& Null();
    // A short array of integers on one line.
    TJsonWriter& Integers(const std::vector<std::int64_t>& values);

private:
    TJsonWriter& Open(char bracket);
    TJsonWriter& Close(char bracket);
    void BeforeValue();
    void NewLine();
    void Quoted(std::string_view text);

    std::ostream& out_;
    // Per open container: whether it has an element yet.
    std::vector<bool> hasElement_;
    bool afterKey_ = false;
};

} // namespace korvo
