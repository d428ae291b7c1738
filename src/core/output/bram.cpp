#include "output/bram.h"

#include "common/text_file.h"

#include <charconv>
#include <stdexcept>
#include <string_view>

namespace korvo {

namespace {

class EInitFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::uint32_t ParseHex(std::string_view text) {
    std::uint32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw EInitFileError("'" + std::string(text) + "' is not a valid hexadecimal value");
    return value;
}

// Tokens are runs of characters other than space and comma.
template <typename TVisitor>
void ForEachToken(std::string_view line, TVisitor visit) {
    std::size_t position = 0;
    while (position < line.size()) {
        position = line.find_first_not_of(" ,", position);
        if (position == std::string_view::npos) break;
        std::size_t end = line.find_first_of(" ,", position);
        if (end == std::string_view::npos) end = line.size();
        visit(line.substr(position, end - position));
        position = end;
    }
}

} // namespace

void TBRAM::SetSize(std::int64_t size) {
    Data.resize(static_cast<std::size_t>(size & 0xFFFF), 0);
}

void TBRAM::SetAddress(std::int64_t address) {
    AddressHigh = static_cast<std::uint16_t>((address & 0xFFFF) >> 8);
    AddressLow = static_cast<std::uint16_t>(address & 0xFF);
}

void TBRAM::Write(std::int64_t value) {
    auto address = static_cast<std::size_t>(Address());
    if (address < Data.size()) Data[address] = static_cast<std::uint8_t>(value & 0xFF);
}

std::uint8_t TBRAM::Read() const {
    auto address = static_cast<std::size_t>(Address());
    return address < Data.size() ? Data[address] : 0;
}

void TBRAM::LoadInitFile(ILog& log) {
    try {
        std::vector<std::string> lines = ReadTextLines(FileName);
        SetAddress(0);
        for (const auto& line : lines) {
            ForEachToken(line, [this](std::string_view token) {
                if (token.front() == '@') {
                    SetAddress(ParseHex(token.substr(1)));
                } else {
                    Write(ParseHex(token));
                    SetAddress(Address() + 1);
                }
            });
        }
    } catch (const EFileError& error) {
        log.Failure("in BRAM '" + Name + "' init: " + error.what());
    } catch (const EInitFileError& error) {
        log.Failure("in BRAM '" + Name + "' init: " + error.what());
    }
}

} // namespace korvo
