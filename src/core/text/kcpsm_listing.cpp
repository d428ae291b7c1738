#include "text/kcpsm_listing.h"

#include "common/hex_text.h"
#include "common/text_file.h"
#include "text/kcpsm6_source.h"
#include "text/kcpsm_hex.h"

#include <cctype>
#include <sstream>
#include <string_view>

namespace korvo {

namespace {

// "hhh" of exactly count hexadecimal digits at position at of the line.
bool HexAt(std::string_view line, std::size_t at, std::size_t count) {
    if (line.size() < at + count) return false;
    for (std::size_t i = at; i < at + count; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(line[i]))) return false;
    return line.size() == at + count || line[at + count] == ' ' || line[at + count] == '\t';
}

} // namespace

std::vector<std::uint32_t> ReadKcpsmLogFile(const std::string& path) {
    const std::vector<std::string> lines = ReadTextLines(path);
    auto fail = [&](const std::string& reason) {
        throw EFileError("\"" + path + "\" is not a KCPSM .log file: " + reason);
    };
    const std::string_view first = lines.empty() ? std::string_view() : lines.front();
    const bool six = first.starts_with("KCPSM6");
    if (!six && !first.starts_with("KCPSM3")) fail("the first line names no KCPSM assembler");
    std::vector<std::uint32_t> words(six ? kKcpsm6HexWords : kKcpsmHexWords, 0);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        // " AAA  WWWWW": the address after one blank, the word after two.
        const std::string_view line = lines[n];
        if (!line.starts_with(' ') || !HexAt(line, 1, 3) || line.substr(4, 2) != "  " ||
            !HexAt(line, 6, 5))
            continue;
        const auto address = static_cast<std::size_t>(*ParseHex(line.substr(1, 3)));
        const auto word = *ParseHex(line.substr(6, 5));
        if (address >= words.size() || word > CoreDescription(kKcpsmCore).WordMask())
            fail("line " + std::to_string(n + 1) + " is outside the code space");
        words[address] = static_cast<std::uint32_t>(word);
    }
    return words;
}

TKcpsmLogStamps ReadKcpsmLogStamps(const std::string& path) {
    TKcpsmLogStamps stamps;
    std::tm time{};
    bool date = false;
    bool clock = false;
    for (const std::string& line : ReadTextLines(path)) {
        std::istringstream fields(line);
        std::string a, b;
        fields >> a >> b;
        if (a == "Generated" && b == "by") {
            std::string assembler, word, version;
            if (fields >> assembler >> word >> version && word == "version")
                stamps.Version = version;
        } else if (a == "Assembly" && b == "datestamp:") {
            int day = 0, year = 0;
            std::string month;
            if (fields >> day >> month >> year)
                for (std::size_t m = 0; m < kKcpsm6Months.size(); ++m)
                    if (kKcpsm6Months[m] == month) {
                        time.tm_mday = day;
                        time.tm_mon = static_cast<int>(m);
                        time.tm_year = year - 1900;
                        date = true;
                    }
        } else if (a == "Assembly" && b == "timestamp:") {
            char colon1 = 0, colon2 = 0;
            int hour = 0, minute = 0, second = 0;
            if (fields >> hour >> colon1 >> minute >> colon2 >> second && colon1 == ':' &&
                colon2 == ':') {
                time.tm_hour = hour;
                time.tm_min = minute;
                time.tm_sec = second;
                clock = true;
            }
        } else if (a == "Assembly" && b == "listing") {
            break;
        }
    }
    if (date && clock) stamps.Time = time;
    return stamps;
}

} // namespace korvo
