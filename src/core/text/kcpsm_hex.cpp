#include "text/kcpsm_hex.h"

#include "assembler/symbol_table.h"
#include "common/hex_text.h"
#include "common/text_file.h"
#include "text/kcpsm_listing.h"
#include "text/kcpsm_rom_file.h"

namespace korvo {

std::vector<std::uint32_t> ReadKcpsmHexFile(const std::string& path) {
    constexpr const TCoreDescription& core = CoreDescription(kKcpsmCore);
    std::vector<std::string> lines = ReadTextLines(path);
    while (!lines.empty() && lines.back().find_first_not_of(" \t") == std::string::npos)
        lines.pop_back();
    auto fail = [&](const std::string& reason) {
        throw EFileError("\"" + path + "\" is not a KCPSM .hex file: " + reason);
    };
    if (lines.size() != kKcpsmHexWords && lines.size() != kKcpsm6HexWords)
        fail(std::to_string(lines.size()) + (lines.size() == 1 ? " line" : " lines") + ", not " +
             std::to_string(kKcpsmHexWords) + " or " + std::to_string(kKcpsm6HexWords));
    std::vector<std::uint32_t> words;
    words.reserve(lines.size());
    for (const std::string& line : lines) {
        const auto word = line.size() == kKcpsmHexDigits ? ParseHex(line) : std::nullopt;
        if (!word || *word > core.WordMask())
            fail("line " + std::to_string(words.size() + 1) + " is not an " +
                 std::to_string(core.WordBits) + "-bit word of " + std::to_string(kKcpsmHexDigits) +
                 " hexadecimal digits");
        words.push_back(static_cast<std::uint32_t>(*word));
    }
    return words;
}

namespace {

// The extension of a file name in upper case, with its dot; empty for none.
std::string UpperExtension(const std::string& path) {
    const std::size_t dot = path.find_last_of("./\\");
    return dot == std::string::npos || path[dot] != '.' ? "" : UpperCase(path.substr(dot));
}

} // namespace

bool IsKcpsmLogFile(const std::string& path) {
    return UpperExtension(path) == ".LOG";
}

std::vector<std::uint32_t> ReadKcpsmWordsFile(const std::string& path) {
    const std::string extension = UpperExtension(path);
    if (extension == ".LOG") return ReadKcpsmLogFile(path);
    if (extension == ".VHD" || extension == ".V") return ReadKcpsmRomFile(path);
    return ReadKcpsmHexFile(path);
}

} // namespace korvo
