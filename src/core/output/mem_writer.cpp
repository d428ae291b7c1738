#include "output/mem_writer.h"

#include "common/hex_text.h"
#include "common/text_file.h"
#include "output/save_output.h"

namespace korvo {

std::string BuildMemText(const TCodeWords& words) {
    const bool wide = words.EighteenBitClass();
    const int bytesPerLine = wide ? 64 : 32;
    const int wordDigits = wide ? 8 : 4;
    std::string text;
    for (int line = 0; line < words.Size() / 16; ++line) {
        text += '@';
        AppendHex(text, static_cast<std::uint64_t>(bytesPerLine * line), 4);
        text += "  ";
        for (int address = 16 * line; address < 16 * line + 16; ++address) {
            AppendHex(text, words[address], wordDigits);
            text += ' ';
        }
        text += "\r\n";
    }
    return text;
}

void WriteMemFile(const TCodeWords& words, const std::string& fileName, ILog& log) {
    std::string text = BuildMemText(words);
    log.Message("Assembler saving to MEM file: \"" + ExpandFileName(fileName) + "\"");
    SaveOutputText(fileName, text, log);
}

} // namespace korvo
