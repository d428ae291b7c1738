#include "output/hex_writer.h"

#include "common/hex_text.h"
#include "output/save_output.h"

namespace korvo {

std::string BuildHexText(const TCodeWords& words) {
    std::string text;
    for (int record = 0; record < words.Size() / 8; ++record) {
        text += ";10";
        AppendHex(text, static_cast<std::uint64_t>(16 * record), 4);
        text += "00";
        std::uint64_t sum = static_cast<std::uint64_t>(8 * record + 16);
        for (int address = 8 * record; address < 8 * record + 8; ++address) {
            std::uint32_t word = words[address];
            AppendHex(text, word & 0xFF, 2);
            AppendHex(text, (word >> 8) & 0xFF, 2);
            sum += (word & 0xFF) + (word >> 8);
        }
        AppendHex(text, ~sum & 0xFF, 2);
        text += "\r\n";
    }
    text += ";00000001FF\r\n";
    return text;
}

void WriteHexFile(const TCodeWords& words, const std::string& fileName, ILog& log) {
    std::string text = BuildHexText(words);
    log.Message("Assembler saving to HEX Target: \"" + fileName + "\"");
    SaveOutputText(fileName, text, log);
}

} // namespace korvo
