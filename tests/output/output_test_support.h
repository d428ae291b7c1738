#pragma once

#include "common/core_kind.h"
#include "common/log.h"
#include "common/settings.h"
#include "common/settings_layout.h"
#include "data_files.h"
#include "output/output_files.h"
#include "scratch_folder.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvo::test {

// The two test programs the expected files were made from: all zeros, and
// every address filled (all ones at the first and last address).
std::vector<std::uint32_t> EmptyProgram(TCoreKind kind);
std::vector<std::uint32_t> FullProgram(TCoreKind kind);

// A job for the core with the given words and no files named.
TOutputJob MakeJob(TCoreKind kind, std::vector<std::uint32_t> words);

bool Exists(const std::string& path);
std::vector<std::string> SplitCrLf(const std::string& text);

// A file that exists but cannot be read, and a folder where no file can be
// created, also when the tests run as root; nothing when the system offers
// none.
std::optional<std::string> UnreadableFile(const TScratchFolder& dir);
std::optional<std::string> ReadOnlyFolder(const TScratchFolder& dir);

// An expected file under tests/data/output/golden, and the data folder.
std::string GoldenText(const std::string& name);
std::string OutputDataPath(const std::string& name);

// The two scan chains the expected SVF files were made for.
settings::TScanChain DataFirstChain();    // 2 devices, target, 1 device
settings::TScanChain AddressFirstChain(); // target, 2 devices

// Checks an SVF file against an expected one; the first two lines (product
// version and home page) are compared with this build's.
void ExpectSvfMatches(const std::string& path, const std::string& goldenName);

// Records the commands it is asked to start instead of starting them.
class TRecordingLauncher : public IProcessLauncher {
public:
    bool Launch(const std::string& commandLine, std::string& errorText) override;
    std::vector<std::string> Commands;
    bool Succeeds = true;
    std::string ErrorText = "No such file or directory";
};

// Runs the writers and returns the log lines.
std::vector<std::string> RunWriters(const TOutputJob& job, const ISettingsStore& settings,
                                    IProcessLauncher* launcher = nullptr);

} // namespace korvo::test
