#include "simulator/log_format.h"

#include "common/number_text.h"

#include <cctype>
#include <optional>

namespace korvo {

namespace {

// Widths and precisions beyond this make no sense for a log line and would
// only let a typing slip allocate huge strings.
constexpr int kMaxFieldSize = 1024;

struct TSpecifier {
    bool LeftAlign = false;
    int Width = 0;
    std::optional<int> Precision;
    char Type = 0;
};

class TFormatReader {
public:
    explicit TFormatReader(std::string_view format) : format_(format) {}

    bool AtEnd() const { return position_ >= format_.size(); }
    char Next() { return format_[position_++]; }
    char Peek() const { return AtEnd() ? '\0' : format_[position_]; }

    // The part after "%"; nothing when it is not a specifier we support.
    std::optional<TSpecifier> ReadSpecifier() {
        TSpecifier specifier;
        if (Peek() == '-') {
            specifier.LeftAlign = true;
            ++position_;
        }
        if (auto width = ReadNumber())
            specifier.Width = *width;
        else if (failed_)
            return std::nullopt;
        if (Peek() == '.') {
            ++position_;
            auto precision = ReadNumber();
            if (failed_) return std::nullopt;
            specifier.Precision = precision.value_or(0);
        }
        if (AtEnd()) return std::nullopt;
        specifier.Type = static_cast<char>(std::tolower(static_cast<unsigned char>(Next())));
        if (std::string_view("ducxs").find(specifier.Type) == std::string_view::npos)
            return std::nullopt;
        return specifier;
    }

private:
    std::optional<int> ReadNumber() {
        int number = 0;
        bool any = false;
        while (std::isdigit(static_cast<unsigned char>(Peek()))) {
            number = number * 10 + (Next() - '0');
            any = true;
            if (number > kMaxFieldSize) {
                failed_ = true;
                return std::nullopt;
            }
        }
        return any ? std::optional<int>(number) : std::nullopt;
    }

    std::string_view format_;
    std::size_t position_ = 0;
    bool failed_ = false;
};

std::string PadDigits(std::string digits, const std::optional<int>& precision) {
    if (precision && static_cast<int>(digits.size()) < *precision)
        digits.insert(0, static_cast<std::size_t>(*precision) - digits.size(), '0');
    return digits;
}

std::string Convert(const TSpecifier& specifier, std::int32_t value) {
    switch (specifier.Type) {
    case 'd': {
        auto magnitude =
            static_cast<std::uint32_t>(value < 0 ? -static_cast<std::int64_t>(value) : value);
        std::string digits = PadDigits(std::to_string(magnitude), specifier.Precision);
        return value < 0 ? "-" + digits : digits;
    }
    case 'u':
        return PadDigits(std::to_string(static_cast<std::uint32_t>(value)), specifier.Precision);
    case 'x': return PadDigits(HexText(static_cast<std::uint32_t>(value), 1), specifier.Precision);
    case 'c': return std::string(1, static_cast<char>(value & 0xFF));
    default: { // 's'
        std::string text(1, static_cast<char>(value & 0xFF));
        if (specifier.Precision && *specifier.Precision < 1) text.clear();
        return text;
    }
    }
}

} // namespace

std::string FormatLogLine(std::string_view format, std::int32_t value) {
    TFormatReader reader(format);
    std::string line;
    int argumentsUsed = 0;
    while (!reader.AtEnd()) {
        char c = reader.Next();
        if (c != '%') {
            line += c;
            continue;
        }
        if (reader.Peek() == '%') {
            reader.Next();
            line += '%';
            continue;
        }
        auto specifier = reader.ReadSpecifier();
        if (!specifier || ++argumentsUsed > 2) throw EFormatError("Bad format specifier");
        std::string text = Convert(*specifier, value);
        if (static_cast<int>(text.size()) < specifier->Width) {
            std::string padding(static_cast<std::size_t>(specifier->Width) - text.size(), ' ');
            text = specifier->LeftAlign ? text + padding : padding + text;
        }
        line += text;
    }
    return line;
}

} // namespace korvo
