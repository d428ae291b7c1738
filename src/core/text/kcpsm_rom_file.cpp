#include "text/kcpsm_rom_file.h"

#include "assembler/symbol_table.h"
#include "common/hex_text.h"
#include "common/text_file.h"
#include "text/kcpsm_hex.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <string_view>

namespace korvo {

namespace {

constexpr int kRowDigits = 64; // 256 bits
constexpr int kKcpsm3Rows = 0x40;

bool IsNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Where the word occurs on its own (not inside a longer name) from at on.
std::size_t FindWord(std::string_view text, std::string_view word, std::size_t at = 0) {
    for (at = text.find(word, at); at != std::string_view::npos; at = text.find(word, at + 1)) {
        const std::size_t end = at + word.size();
        if ((at == 0 || !IsNameCharacter(text[at - 1])) &&
            (end == text.size() || !IsNameCharacter(text[end])))
            return at;
    }
    return std::string_view::npos;
}

// The 64 hexadecimal digits given to the first row named name ("INIT_0A"),
// after X" or 256'h close behind the name.
std::optional<std::string> RowDigits(std::string_view text, std::string_view name) {
    for (std::size_t at = FindWord(text, name); at != std::string_view::npos;
         at = FindWord(text, name, at + 1)) {
        const std::string_view rest = text.substr(at + name.size(), 40 + kRowDigits);
        for (std::string_view opening : {"X\"", "x\"", "'h", "'H"}) {
            const std::size_t value = rest.find(opening);
            if (value == std::string_view::npos) continue;
            const std::string_view digits = rest.substr(value + opening.size());
            if (digits.size() < kRowDigits) continue;
            bool hex = true;
            for (int i = 0; i < kRowDigits; ++i)
                hex = hex && std::isxdigit(static_cast<unsigned char>(digits[i]));
            if (hex) return std::string(digits.substr(0, kRowDigits));
        }
    }
    return std::nullopt;
}

std::string RowName(std::string_view prefix, int row) {
    return std::string(prefix) + HexText(row, 2);
}

// The rows INIT_00, INIT_01, ... and INITP_00, ... of one block RAM, as far
// as they go without a gap; the row of each entry is its number.
struct TBlockRows {
    std::vector<std::string> Init;
    std::vector<std::string> Parity;
};

TBlockRows ReadRows(std::string_view text) {
    TBlockRows rows;
    for (auto [prefix, into] : {std::pair{"INIT_", &rows.Init}, std::pair{"INITP_", &rows.Parity}})
        for (int n = 0; n <= 0xFF; ++n) {
            auto digits = RowDigits(text, RowName(prefix, n));
            if (!digits) break;
            into->push_back(std::move(*digits));
        }
    return rows;
}

// count bits of a row from bit position bit (0 is the rightmost) on.
std::uint32_t RowBits(const std::string& digits, int bit, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        const int position = bit + i;
        const char digit = digits[static_cast<std::size_t>(kRowDigits - 1 - position / 4)];
        const auto nibble = static_cast<std::uint32_t>(*ParseHex(std::string_view(&digit, 1)));
        value = (value << 1) | ((nibble >> (position % 4)) & 1);
    }
    return value;
}

// The entries of a block RAM read width bits wide: 18 (16 in INIT, 2 in
// INITP) or 9 (8 in INIT, 1 in INITP).
std::vector<std::uint32_t> Entries(const TBlockRows& rows, int width) {
    const int data = width == 18 ? 16 : 8;
    const int parity = width - data;
    const int perRow = 256 / data;
    const int perParityRow = 256 / parity;
    const int count =
        static_cast<int>(std::min(rows.Init.size() * perRow, rows.Parity.size() * perParityRow));
    std::vector<std::uint32_t> entries(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        entries[static_cast<std::size_t>(i)] =
            RowBits(rows.Init[static_cast<std::size_t>(i / perRow)], i % perRow * data, data) |
            RowBits(rows.Parity[static_cast<std::size_t>(i / perParityRow)],
                    i % perParityRow * parity, parity)
                << data;
    return entries;
}

// The read width a block RAM's attributes give (DATA_WIDTH_A or
// READ_WIDTH_A), 0 when none.
int ReadWidth(std::string_view block) {
    const std::size_t at = block.find("WIDTH_A");
    if (at == std::string_view::npos) return 0;
    std::size_t digit = at + 7;
    while (digit < block.size() && digit < at + 40 &&
           !std::isdigit(static_cast<unsigned char>(block[digit])))
        ++digit;
    int width = 0;
    while (digit < block.size() && std::isdigit(static_cast<unsigned char>(block[digit])))
        width = width * 10 + (block[digit++] - '0');
    return width;
}

// The block RAMs of a KCPSM6 ROM by instance name (kcpsm6_rom, kcpsm6_rom_l,
// kcpsm6_rom_h, kcpsm6_rom_ll, ...): each primitive ("RAMB16BWER", ...)
// starts a block whose instance name is on its first line (VHDL) or follows
// its rows (Verilog). Of blocks of the same name the deepest counts. Where no
// block has such a name (a template of one layout with instances renamed),
// the names follow from the blocks in order: one 18 bits wide is kcpsm6_rom,
// two 9 bits wide are _l and _h, four are _ll, _lh, _hl and _hh.
std::map<std::string, TBlockRows> NamedBlocks(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t at = text.find("RAMB"); at != std::string_view::npos;
         at = text.find("RAMB", at + 1)) {
        if (at > 0 && IsNameCharacter(text[at - 1])) continue;
        const std::size_t line = text.rfind('\n', at);
        starts.push_back(line == std::string_view::npos ? 0 : line + 1);
    }
    starts.push_back(text.size());
    std::map<std::string, TBlockRows> blocks;
    std::vector<std::pair<int, TBlockRows>> unnamed;
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        const std::string_view block = text.substr(starts[i], starts[i + 1] - starts[i]);
        TBlockRows rows = ReadRows(block);
        if (rows.Init.empty()) continue;
        std::size_t at = block.find("kcpsm6_rom");
        while (at != std::string_view::npos && at > 0 && IsNameCharacter(block[at - 1]))
            at = block.find("kcpsm6_rom", at + 1);
        if (at == std::string_view::npos) {
            unnamed.emplace_back(ReadWidth(block), std::move(rows));
            continue;
        }
        std::size_t end = at;
        while (end < block.size() && IsNameCharacter(block[end]))
            ++end;
        TBlockRows& known = blocks[std::string(block.substr(at, end - at))];
        if (rows.Init.size() > known.Init.size()) known = std::move(rows);
    }
    if (blocks.empty()) {
        const bool narrow =
            std::ranges::all_of(unnamed, [](const auto& b) { return b.first == 9; });
        const std::vector<const char*> names =
            unnamed.size() == 1 && unnamed[0].first == 18 ? std::vector{"kcpsm6_rom"}
            : unnamed.size() == 2 && narrow ? std::vector{"kcpsm6_rom_l", "kcpsm6_rom_h"}
            : unnamed.size() == 4 && narrow
                ? std::vector{"kcpsm6_rom_ll", "kcpsm6_rom_lh", "kcpsm6_rom_hl", "kcpsm6_rom_hh"}
                : std::vector<const char*>{};
        for (std::size_t i = 0; i < names.size(); ++i)
            blocks[names[i]] = std::move(unnamed[i].second);
    }
    return blocks;
}

// The words of the KCPSM6 layouts: one RAM 18 bits wide (kcpsm6_rom), two
// 9 bits wide for bits 8..0 and 17..9 (kcpsm6_rom_l, _h), or four, the
// second pair for the upper 2K (kcpsm6_rom_ll, _lh, _hl, _hh). The layout
// that gives the most words counts.
std::vector<std::uint32_t> Kcpsm6Words(const std::map<std::string, TBlockRows>& blocks) {
    auto entries = [&](const char* name, int width) {
        auto block = blocks.find(name);
        return block == blocks.end() ? std::vector<std::uint32_t>() : Entries(block->second, width);
    };
    auto joined = [](const std::vector<std::uint32_t>& low,
                     const std::vector<std::uint32_t>& high) {
        std::vector<std::uint32_t> words(std::min(low.size(), high.size()));
        for (std::size_t i = 0; i < words.size(); ++i)
            words[i] = low[i] | high[i] << 9;
        return words;
    };
    std::vector<std::uint32_t> best = entries("kcpsm6_rom", 18);
    std::vector<std::uint32_t> pair =
        joined(entries("kcpsm6_rom_l", 9), entries("kcpsm6_rom_h", 9));
    std::vector<std::uint32_t> lower =
        joined(entries("kcpsm6_rom_ll", 9), entries("kcpsm6_rom_lh", 9));
    const std::vector<std::uint32_t> upper =
        joined(entries("kcpsm6_rom_hl", 9), entries("kcpsm6_rom_hh", 9));
    if (!lower.empty() && lower.size() == upper.size())
        lower.insert(lower.end(), upper.begin(), upper.end());
    else
        lower.clear();
    for (auto* layout : {&pair, &lower})
        if (layout->size() > best.size()) best = std::move(*layout);
    return best;
}

} // namespace

std::vector<std::uint32_t> ReadKcpsmRomFile(const std::string& path) {
    const std::string text = ReadFileBytes(path);
    const std::string upper = UpperCase(text);
    const bool six = upper.find("C_RAM_SIZE_KWORDS") != std::string::npos ||
                     upper.find("KCPSM6") != std::string::npos;
    std::vector<std::uint32_t> words(six ? kKcpsm6HexWords : kKcpsmHexWords, 0);
    std::vector<std::uint32_t> found =
        six ? Kcpsm6Words(NamedBlocks(text)) : std::vector<std::uint32_t>();
    if (found.empty()) {
        // A ROM of one block RAM 18 bits wide; its rows are the first ones.
        const TBlockRows rows = ReadRows(text);
        if (rows.Init.size() < kKcpsm3Rows || rows.Parity.size() < kKcpsm3Rows / 8)
            throw EFileError("\"" + path + "\" is not a KCPSM program ROM: no row " +
                             (rows.Init.size() < kKcpsm3Rows
                                  ? RowName("INIT_", static_cast<int>(rows.Init.size()))
                                  : RowName("INITP_", static_cast<int>(rows.Parity.size()))) +
                             " of 64 hexadecimal digits");
        found = Entries(rows, 18);
        found.resize(kKcpsm3Rows * 16);
    }
    found.resize(std::min(found.size(), words.size()));
    std::ranges::copy(found, words.begin());
    return words;
}

} // namespace korvo
