#include "output/vhdl_writer.h"

#include "common/hex_text.h"
#include "common/text_file.h"
#include "output/save_output.h"

#include <string_view>

namespace korvo {

namespace {
constexpr std::string_view kMarker = "{begin template}";
// Rows of a 1K block RAM; a large template has twice as many of each.
constexpr int kInitRows = 64;
constexpr int kInitParityRows = 8;
constexpr int kSlices = 5;
constexpr int kSliceRows = 16;
// A 4K memory of two 9-bit halves: 128 INIT rows of 32 bytes and 16 INITP
// rows of 256 bits each.
constexpr int kHalfInitRows = 128;
constexpr int kHalfParityRows = 16;

// Replaces every occurrence of placeholder, scanning left to right; a
// replacement is not scanned again.
void ReplaceAll(std::string& text, std::string_view placeholder, std::string_view value) {
    std::size_t found = text.find(placeholder);
    if (found == std::string::npos) return;
    std::string result;
    result.reserve(text.size() + value.size());
    std::size_t start = 0;
    for (; found != std::string::npos; found = text.find(placeholder, start)) {
        result.append(text, start, found - start);
        result += value;
        start = found + placeholder.size();
    }
    result.append(text, start);
    text = std::move(result);
}

// Row r of 16 words: the low 16 bits of each, the highest address leftmost.
std::string InitRow(const TCodeWords& words, int row) {
    std::string value;
    for (int address = 16 * row + 15; address >= 16 * row; --address)
        AppendHex(value, words[address] & 0xFFFF, 4);
    return value;
}

// Row r of 128 words: one digit per word pair, bits 17:16 of the odd word
// above those of the even word. The 16-bit class has no such bits.
std::string InitParityRow(const TCodeWords& words, int row) {
    if (!words.EighteenBitClass()) return std::string(64, '0');
    std::string value;
    for (int pair = 63; pair >= 0; --pair) {
        std::uint32_t odd = (words[128 * row + 2 * pair + 1] >> 16) & 3;
        std::uint32_t even = (words[128 * row + 2 * pair] >> 16) & 3;
        AppendHex(value, (odd << 2) | even, 1);
    }
    return value;
}

// Row r of 64 words of slice n: slice 1 holds bits 19:16, slice 5 bits 3:0.
std::string SliceRow(const TCodeWords& words, int slice, int row) {
    std::string value;
    const int shift = 4 * (kSlices - slice);
    for (int address = 64 * row + 63; address >= 64 * row; --address)
        AppendHex(value, (words[address] >> shift) & 0xF, 1);
    return value;
}
// The 9-bit half of the words whose lowest bit is bit low: row r of its
// INIT holds the eight lower bits of 32 words, two digits each, the highest
// address leftmost.
std::string HalfInitRow(const TCodeWords& words, int low, int row) {
    std::string value;
    for (int address = 32 * row + 31; address >= 32 * row; --address)
        AppendHex(value, (words[address] >> low) & 0xFF, 2);
    return value;
}

// Row r of the half's INITP: its ninth bit of 256 words, four words to a
// digit, the highest address in the leftmost bit.
std::string HalfParityRow(const TCodeWords& words, int low, int row) {
    std::string value;
    for (int digit = 63; digit >= 0; --digit) {
        std::uint32_t bits = 0;
        for (int i = 3; i >= 0; --i)
            bits = bits << 1 | ((words[256 * row + 4 * digit + i] >> (low + 8)) & 1);
        AppendHex(value, bits, 1);
    }
    return value;
}

void ReplaceLargeTemplateRows(std::string& text, const TCodeWords& words) {
    for (int row = kInitRows; row < 2 * kInitRows; ++row)
        ReplaceAll(text, "{INIT_" + HexText(row, 2) + "}", InitRow(words, row));
    for (int row = kInitParityRows; row < 2 * kInitParityRows; ++row)
        ReplaceAll(text, "{INITP_" + HexText(row, 2) + "}", InitParityRow(words, row));
    for (auto [tag, low] : {std::pair{"{[8:0]_", 0}, std::pair{"{[17:9]_", 9}}) {
        if (text.find(tag) == std::string::npos) continue;
        for (int row = 0; row < kHalfInitRows; ++row)
            ReplaceAll(text, tag + ("INIT_" + HexText(row, 2) + "}"), HalfInitRow(words, low, row));
        for (int row = 0; row < kHalfParityRows; ++row)
            ReplaceAll(text, tag + ("INITP_" + HexText(row, 2) + "}"),
                       HalfParityRow(words, low, row));
    }
}
} // namespace

std::string FillVhdlTemplate(const std::vector<std::string>& templateLines, const TCodeWords& words,
                             const TOutputJob& job) {
    auto marker = templateLines.begin();
    while (marker != templateLines.end() && marker->find(kMarker) == std::string::npos)
        ++marker;
    if (marker == templateLines.end()) return {};
    // The lines are filled as one text, so that each placeholder is replaced
    // throughout before the next one is looked for, in a fixed order.
    std::string text = JoinLinesCrLf(std::vector<std::string>(marker + 1, templateLines.end()));
    ReplaceAll(text, "{name}", job.VhdlEntity);
    ReplaceAll(text, "{pico}", CoreDescription(job.CoreKind).Name);
    if (text.find("{INIT") != std::string::npos) {
        for (int row = 0; row < kInitRows; ++row)
            ReplaceAll(text, "{INIT_" + HexText(row, 2) + "}", InitRow(words, row));
        for (int row = 0; row < kInitParityRows; ++row)
            ReplaceAll(text, "{INITP_" + HexText(row, 2) + "}", InitParityRow(words, row));
        for (int slice = 1; slice <= kSlices; ++slice)
            for (int row = 0; row < kSliceRows; ++row)
                ReplaceAll(text, "{INIT" + std::to_string(slice) + "_" + HexText(row, 1) + "}",
                           SliceRow(words, slice, row));
    }
    if (words.Core().LargeRomTemplates) ReplaceLargeTemplateRows(text, words);
    return text;
}

bool WriteVhdlFile(const TCodeWords& words, const TOutputJob& job, ILog& log) {
    const std::string& skeleton = job.VhdlSkeleton;
    if (!PathExists(skeleton)) {
        log.Failure("Assembler VHDL skeleton: \"" + skeleton + "\" doesn't exist");
        return true;
    }
    log.Message("Assembler reading VHDL skeleton: \"" + skeleton + "\"");
    std::vector<std::string> templateLines;
    try {
        templateLines = ReadTextLines(skeleton);
    } catch (const EFileError& failure) {
        log.Failure(failure.what());
        return false;
    }
    std::string text = FillVhdlTemplate(templateLines, words, job);
    if (job.VhdlTarget.empty()) return true;
    log.Message("Assembler saving to VHDL target: \"" + job.VhdlTarget + "\"");
    SaveOutputText(job.VhdlTarget, text, log);
    return true;
}

} // namespace korvo
