// Importing a KCPSM program and assembling it for PicoBlaze 3 gives the
// instruction words that the program means in KCPSM. The expected words of
// each program are derived independently of this code: by hand from the
// PicoBlaze 3 instruction layout (a ".words" file) or by the small model of
// the language kcpsm3_words.py (a ".hex" file in the KCPSM3 assembler's form).
#include "assembly.h"
#include "common/text_file.h"
#include "text/kcpsm_hex.h"
#include "text/kcpsm_import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace korvo::test {
namespace {

namespace fs = std::filesystem;

const fs::path kProgramFolder = fs::path(KORVO_TEST_DATA_DIR) / "text" / "kcpsm";

// Lines "AAA WWWWW  remark": address and word in hex; ";" lines are remarks.
// A ".hex" file gives every address, unused ones as 0.
std::map<int, std::uint32_t> ReadExpectedWords(const fs::path& file) {
    std::map<int, std::uint32_t> words;
    if (file.extension() == ".hex") {
        auto image = ReadKcpsmHexFile(file.string());
        for (std::size_t address = 0; address < image.size(); ++address)
            if (image[address] != 0) words[static_cast<int>(address)] = image[address];
        return words;
    }
    for (const auto& line : ReadTextLines(file.string())) {
        if (line.empty() || line.front() == ';') continue;
        std::istringstream fields(line);
        int address = -1;
        std::uint32_t word = 0;
        fields >> std::hex >> address >> word;
        EXPECT_TRUE(fields && address >= 0) << file << ": " << line;
        words[address] = word;
    }
    return words;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

class KcpsmRoundTripTest : public ::testing::TestWithParam<std::string> {};

TEST_P(KcpsmRoundTripTest, ImportedProgramAssemblesToTheKcpsmWords) {
    const fs::path source = kProgramFolder / (GetParam() + ".psm");
    fs::path wordsFile = kProgramFolder / (GetParam() + ".words");
    if (!fs::exists(wordsFile)) wordsFile.replace_extension(".hex");
    const auto expected = ReadExpectedWords(wordsFile);
    ASSERT_FALSE(expected.empty());

    TAssembly assembly(TCoreKind::pbt3);
    // The parser's scanner is the formatter's scanner, as in the editor.
    auto imported =
        ConvertKcpsmSource(assembly.Parser, ReadTextLines(source.string()), TCoreKind::pbt3, {});
    ASSERT_TRUE(assembly.Run(imported)) << Joined(assembly.Log.Lines) << Joined(imported);

    for (int address = 0; address < assembly.Image.CodeSize(); ++address) {
        TCodeEntry entry = assembly.Entry(address);
        auto word = expected.find(address);
        if (word == expected.end()) {
            // A .hex file shows no difference between no code and a word 0.
            if (wordsFile.extension() == ".hex")
                EXPECT_EQ(entry.Word, 0u) << "address " << address;
            else
                EXPECT_FALSE(entry.HasCode) << "address " << address;
        } else {
            EXPECT_TRUE(entry.HasCode) << "address " << address;
            EXPECT_EQ(entry.Word, word->second) << "address " << address;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, KcpsmRoundTripTest,
                         ::testing::Values("branches", "counter", "interrupts", "subroutines",
                                           "case_names", "reserved_names", "glued_comments",
                                           "register_names"));

} // namespace
} // namespace korvo::test
