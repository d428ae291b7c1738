#pragma once

// What the fuzz targets share: the input as source lines, a core picked by a
// byte, and a private folder for the files a source names.

#include "common/core_kind.h"
#include "common/text_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace korvo::fuzz {

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The lines of a source file with these bytes, as a reader of the file
// would see them.
inline std::vector<std::string> SourceLines(std::string_view bytes) {
    return SplitLines(WithoutByteOrderMark(bytes));
}

inline constexpr TCoreKind kFuzzCores[] = {TCoreKind::pbtI, TCoreKind::pbtII, TCoreKind::pbt3,
                                           TCoreKind::pbtC, TCoreKind::pbt6};

// The core a byte picks.
inline TCoreKind CoreOf(std::uint8_t byte) {
    return kFuzzCores[byte % std::size(kFuzzCores)];
}

// A folder of its own under the temporary folder, made once and removed when
// the process ends; the files given are written into it when it is made
// (names with "/" get their folders).
struct TFuzzFile {
    const char* Name;
    const char* Text;
};

inline const std::filesystem::path& PrivateFolder(std::initializer_list<TFuzzFile> files = {}) {
    static const std::filesystem::path folder = [&] {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvo-fuzz-XXXXXX");
        if (!mkdtemp(pattern.data())) std::abort();
        std::filesystem::path made(pattern);
        for (const auto& file : files) {
            std::filesystem::create_directories((made / file.Name).parent_path());
            WriteFileBytes((made / file.Name).string(), file.Text);
        }
        return made;
    }();
    static const struct TRemoval {
        ~TRemoval() {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    } removal;
    return folder;
}

// Stops the run as a finding: a broken promise of the code under test.
inline void Require(bool condition) {
    if (!condition) __builtin_trap();
}

} // namespace korvo::fuzz
