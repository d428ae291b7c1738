// Runs every tests/data/assembler/ok_*.psm and err_*.psm through the driver.
//
// The expected result of a line stands at its end after ";=": the listing
// text of a good line, or the whole parser result ("?Kind|Message") of a bad
// one; a line without it expects an empty listing text. The harness strips
// the expectation before assembling. Lines beginning with ";;" are for the
// harness: ";; core: I II 3 CR" names the cores the file is assembled for,
// ";; section" starts another document in the same file.
//
// A document without expected errors must pass all three phases with exactly
// the expected listing. A document with expected errors must fail with
// exactly those errors logged ("Line N: message"), in phase 1 or phase 2.

#include "assembly_harness.h"

#include "common/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace korvo::test {
namespace {

namespace fs = std::filesystem;

struct TDocument {
    std::vector<std::string> Lines;
    std::vector<std::string> Expected;
    std::vector<int> FileLines; // line in the data file, for messages
};

struct TGoldenFile {
    std::string Name;
    std::vector<TCoreKind> Cores;
    std::vector<TDocument> Documents;
};

std::string Trim(std::string_view text) {
    auto start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    auto end = text.find_last_not_of(" \t");
    return std::string(text.substr(start, end - start + 1));
}

TGoldenFile ReadGoldenFile(const fs::path& path) {
    TGoldenFile file;
    file.Name = path.filename().string();
    file.Documents.emplace_back();
    auto lines = ReadTextLines(path.string());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.starts_with(";;")) {
            std::string command = Trim(line.substr(2));
            if (command.starts_with("core:")) {
                std::istringstream names(command.substr(5));
                for (std::string name; names >> name;)
                    if (auto core = CoreKindFromName(name)) file.Cores.push_back(*core);
            } else if (command == "section") {
                file.Documents.emplace_back();
            }
            continue;
        }
        TDocument& document = file.Documents.back();
        auto marker = line.rfind(";=");
        std::string expected;
        if (marker != std::string_view::npos) {
            expected = Trim(line.substr(marker + 2));
            line = line.substr(0, marker);
            while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
                line.remove_suffix(1);
        }
        document.Lines.emplace_back(line);
        document.Expected.push_back(expected);
        document.FileLines.push_back(static_cast<int>(i) + 1);
    }
    return file;
}

// The data folder is copied, so that output files named by directives never
// land in the source tree.
const fs::path& WorkingCopy() {
    static const TScratchFolder folder;
    static const fs::path copy = [] {
        fs::path target = fs::path(folder.Path()) / "data";
        fs::copy(fs::path(KORVO_TEST_DATA_DIR) / "assembler", target, fs::copy_options::recursive);
        return target;
    }();
    return copy;
}

std::vector<std::string> GoldenFileNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(KORVO_TEST_DATA_DIR) / "assembler")) {
        std::string name = entry.path().filename().string();
        if ((name.starts_with("ok_") || name.starts_with("err_")) && name.ends_with(".psm"))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void CheckDocument(const TGoldenFile& file, const TDocument& document, TCoreKind core) {
    TAssembly run(core);
    run.Run(document.Lines, (WorkingCopy() / file.Name).string());

    std::vector<std::string> errorLog;
    bool expectErrors = false;
    for (std::size_t i = 0; i < document.Expected.size(); ++i) {
        const std::string& expected = document.Expected[i];
        if (expected.starts_with("?")) {
            expectErrors = true;
            auto bar = expected.find('|');
            errorLog.push_back("Line " + std::to_string(i + 1) + ": " +
                               (bar == std::string::npos ? expected : expected.substr(bar + 1)));
        }
    }
    const auto& log = run.Log.Lines;
    ASSERT_GE(log.size(), 1u);
    bool reachedPhase2 = log.size() > 1 && log[1] == "Assembler Phase 2: constructing opcodes";
    if (expectErrors) {
        EXPECT_FALSE(run.Result);
        std::vector<std::string> actualErrors(log.begin() + (reachedPhase2 ? 2 : 1), log.end());
        EXPECT_EQ(actualErrors, errorLog);
    } else {
        EXPECT_TRUE(run.Result);
        ASSERT_GE(log.size(), 3u);
        EXPECT_EQ(log[2], "Assembler Phase 3: building simulation objects");
        for (const auto& line : log)
            EXPECT_FALSE(line.starts_with("Line ")) << line;
    }

    ASSERT_EQ(run.Listing.size(), document.Lines.size());
    for (std::size_t i = 0; i < document.Lines.size(); ++i) {
        std::string expected = document.Expected[i];
        if (expected.starts_with("?"))
            expected = expected.substr(0, expected.find('|'));
        else if (!reachedPhase2)
            expected.clear(); // a failed phase 1 lists only its errors
        EXPECT_EQ(run.Listing[i], expected)
            << file.Name << ":" << document.FileLines[i] << ": " << document.Lines[i];
    }
}

class GoldenSource : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenSource, AssemblesAsAnnotated) {
    TGoldenFile file = ReadGoldenFile(fs::path(KORVO_TEST_DATA_DIR) / "assembler" / GetParam());
    ASSERT_FALSE(file.Cores.empty()) << "no ';; core:' line in " << file.Name;
    for (TCoreKind core : file.Cores) {
        for (std::size_t d = 0; d < file.Documents.size(); ++d) {
            SCOPED_TRACE(file.Name + " core " + std::string(CoreDescription(core).Name) +
                         " section " + std::to_string(d + 1));
            CheckDocument(file, file.Documents[d], core);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, GoldenSource, ::testing::ValuesIn(GoldenFileNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.substr(0, info.param.size() - 4);
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

TEST(GoldenSources, AllKindsArePresent) {
    auto names = GoldenFileNames();
    EXPECT_GE(std::count_if(names.begin(), names.end(),
                            [](const std::string& n) { return n.starts_with("ok_"); }),
              4);
    EXPECT_GE(std::count_if(names.begin(), names.end(),
                            [](const std::string& n) { return n.starts_with("err_"); }),
              4);
}

} // namespace
} // namespace korvo::test
