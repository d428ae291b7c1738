// The one file writer and the one file reader, on real special files in a
// scratch folder: links stay links, shared files stay shared, FIFOs and the
// process's own descriptors are written in place; readers refuse what could
// block or never end and report read errors.
#include "../simulator/sim_test_support.h"
#include "common/text_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace korvo::test {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const std::string& path) {
    return ReadFileBytes(path, kMaxTextFileBytes, TSpecialFiles::Read);
}

struct TWriteCase {
    const char* Name;
    // Makes what the write meets; returns the name written to.
    std::function<std::string(const TTempDirectory&)> Prepare;
    // What must hold afterwards, besides the file at the name holding "new".
    std::function<void(const TTempDirectory&)> Check;
};

class WriteFile : public ::testing::TestWithParam<TWriteCase> {};

// What reads the FIFO that a case writes.
std::future<std::string> fifoReader;

TEST_P(WriteFile, ReplacesOnlyWhatIsItsOwn) {
    TTempDirectory dir;
    std::string target = GetParam().Prepare(dir);
    WriteFileBytes(target, "new");
    if (fs::is_regular_file(target)) EXPECT_EQ(Slurp(target), "new");
    GetParam().Check(dir);
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path()))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".korvo")) << entry.path();
}

INSTANTIATE_TEST_SUITE_P(
    TextFile, WriteFile,
    ::testing::Values(
        TWriteCase{"SymbolicLinkStaysALink",
                   [](const TTempDirectory& d) {
                       WriteFileBytes(d.File("real.txt"), "old");
                       fs::create_symlink("real.txt", d.File("link"));
                       return d.File("link");
                   },
                   [](const TTempDirectory& d) { EXPECT_TRUE(fs::is_symlink(d.File("link"))); }},
        TWriteCase{"DanglingLinkGetsItsFile",
                   [](const TTempDirectory& d) {
                       fs::create_symlink("made.txt", d.File("link"));
                       return d.File("link");
                   },
                   [](const TTempDirectory& d) { EXPECT_EQ(Slurp(d.File("made.txt")), "new"); }},
        TWriteCase{"HardLinksKeepSharingIt",
                   [](const TTempDirectory& d) {
                       WriteFileBytes(d.File("a.txt"), "old");
                       fs::create_hard_link(d.File("a.txt"), d.File("b.txt"));
                       return d.File("a.txt");
                   },
                   [](const TTempDirectory& d) {
                       EXPECT_EQ(Slurp(d.File("b.txt")), "new");
                       EXPECT_TRUE(fs::equivalent(d.File("a.txt"), d.File("b.txt")));
                   }},
        TWriteCase{"AccessRightsAreKept",
                   [](const TTempDirectory& d) {
                       WriteFileBytes(d.File("r.txt"), "old");
                       fs::permissions(d.File("r.txt"), fs::perms(0640));
                       return d.File("r.txt");
                   },
                   [](const TTempDirectory& d) {
                       EXPECT_EQ(fs::status(d.File("r.txt")).permissions(), fs::perms(0640));
                   }},
        TWriteCase{"LongestLegalName",
                   [](const TTempDirectory& d) { return d.File(std::string(255, 'n')); },
                   [](const TTempDirectory&) {}},
        TWriteCase{"FifoIsWrittenInPlace",
                   [](const TTempDirectory& d) {
                       ::mkfifo(d.File("pipe").c_str(), 0600);
                       fifoReader = std::async(std::launch::async, Slurp, d.File("pipe"));
                       return d.File("pipe");
                   },
                   [](const TTempDirectory& d) {
                       EXPECT_TRUE(fs::is_fifo(d.File("pipe")));
                       EXPECT_EQ(fifoReader.get(), "new");
                   }}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TextFile, OwnDescriptorsGoOnAfterWhatWasWritten) {
    TTempDirectory dir;
    int descriptor = ::open(dir.File("out.txt").c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(::write(descriptor, "head;", 5), 5);
    const std::string number = std::to_string(descriptor);
    WriteFileBytes("/proc/self/fd/" + number, "one;");
    WriteFileBytes("/dev/fd/" + number, "two", TWriteMode::Append);
    ::close(descriptor);
    EXPECT_EQ(Slurp(dir.File("out.txt")), "head;one;two");
    EXPECT_THROW(WriteFileBytes("/proc/self/fd/" + number, "x"), EFileError);
}

TEST(TextFile, WriteFailuresNameTheFile) {
    TTempDirectory dir;
    fs::create_directory(dir.File("folder"));
    for (const auto& [path, reason] : std::vector<std::pair<std::string, std::string>>{
             {dir.File("folder"), "Is a directory"},
             {dir.File("missing/x.txt"), "No such file or directory"}}) {
        try {
            WriteFileBytes(path, "x");
            ADD_FAILURE() << path;
        } catch (const EFileError& error) {
            EXPECT_EQ(error.what(), "Cannot create file \"" + path + "\". " + reason);
        }
    }
    WriteFileBytes(dir.File("log.txt"), "a", TWriteMode::Append);
    WriteFileBytes(dir.File("log.txt"), "b", TWriteMode::Append);
    EXPECT_EQ(Slurp(dir.File("log.txt")), "ab");
}

struct TReadCase {
    const char* Name;
    std::function<std::string(const TTempDirectory&)> Prepare; // the name read
    std::uint64_t MaxBytes;
    TSpecialFiles Special;
    std::string Reason; // after "Cannot read file "NAME". "
};

class ReadFile : public ::testing::TestWithParam<TReadCase> {};

TEST_P(ReadFile, RefusesWhatCouldBlockOrNeverEnd) {
    TTempDirectory dir;
    std::string path = GetParam().Prepare(dir);
    try {
        ReadFileBytes(path, GetParam().MaxBytes, GetParam().Special);
        ADD_FAILURE() << "read " << path;
    } catch (const EFileError& error) {
        EXPECT_EQ(error.what(), "Cannot read file \"" + path + "\". " + GetParam().Reason);
    }
}

INSTANTIATE_TEST_SUITE_P(
    TextFile, ReadFile,
    ::testing::Values(
        TReadCase{"Fifo",
                  [](const TTempDirectory& d) {
                      ::mkfifo(d.File("pipe").c_str(), 0600);
                      return d.File("pipe");
                  },
                  kMaxTextFileBytes, TSpecialFiles::Refuse, "It is a FIFO, not a regular file"},
        TReadCase{"Device", [](const TTempDirectory&) { return std::string("/dev/zero"); },
                  kMaxTextFileBytes, TSpecialFiles::Refuse, "It is a device, not a regular file"},
        TReadCase{"EndlessDevice", [](const TTempDirectory&) { return std::string("/dev/zero"); },
                  1000, TSpecialFiles::Read, "It is larger than 1000 bytes"},
        TReadCase{"LargeFile",
                  [](const TTempDirectory& d) {
                      WriteFileBytes(d.File("big.txt"), std::string(3u << 20, 'x'));
                      return d.File("big.txt");
                  },
                  2u << 20, TSpecialFiles::Refuse, "It is larger than 2 MiB"},
        TReadCase{"ErrorAfterOpening",
                  [](const TTempDirectory&) { return std::string("/proc/self/mem"); },
                  kMaxTextFileBytes, TSpecialFiles::Refuse, "Input/output error"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TextFile, LinesSkipAByteOrderMark) {
    TTempDirectory dir;
    WriteFileBytes(dir.File("bom.txt"), "\xEF\xBB\xBF"
                                        "one\r\ntwo");
    EXPECT_EQ(ReadTextLines(dir.File("bom.txt")), (std::vector<std::string>{"one", "two"}));
}

} // namespace
} // namespace korvo::test
