#include "output/coe_writer.h"

#include "common/hex_text.h"
#include "common/text_file.h"
#include "output/save_output.h"

namespace korvo {

namespace {
const char* GlobalInitValue(int width) {
    if (width == 8) return "global_init_value=00;";
    if (width == 16) return "global_init_value=0000;";
    return "global_init_value=00000;";
}

void AppendItems(std::string& text, std::uint32_t word, int width) {
    if (width == 8) {
        AppendHex(text, word & 0xFF, 2);
        text += ", ";
        AppendHex(text, word >> 8, 2);
    } else {
        AppendHex(text, word, width == 16 ? 4 : 5);
    }
    text += ", ";
}
} // namespace

std::string BuildCoeText(const TCodeWords& words, int width) {
    std::string text = "memory_initialization_radix=16;\r\n";
    text += GlobalInitValue(width);
    text += "\r\nmemory_initialization_vector=\r\n";
    const int lineCount = words.Size() / 8;
    for (int line = 0; line < lineCount; ++line) {
        for (int address = 8 * line; address < 8 * line + 8; ++address)
            AppendItems(text, words[address], width);
        if (line == lineCount - 1) text[text.size() - 2] = ';';
        text += "\r\n";
    }
    return text;
}

void WriteCoeFile(const TCodeWords& words, const std::string& fileName, int width, ILog& log) {
    std::string text = BuildCoeText(words, width);
    log.Progress("Assembler saving to COEF Target: \"" + ExpandFileName(fileName) + "\"");
    SaveOutputText(fileName, text, log);
}

} // namespace korvo
