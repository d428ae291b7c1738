#include "scratch_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace korvo::test {

namespace fs = std::filesystem;

TScratchFolder::TScratchFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/korvo-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data())) throw std::runtime_error("cannot make a folder: " + pattern);
    path_ = buffer.data();
}

namespace {
// Tests make folders read-only or unreadable; a folder must be open to us
// before what is in it can go.
void OpenUp(const fs::path& folder) {
    std::error_code ignored;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (const auto& entry : fs::directory_iterator(folder, ignored))
        if (entry.is_directory(ignored) && !entry.is_symlink(ignored)) OpenUp(entry.path());
}
} // namespace

TScratchFolder::~TScratchFolder() {
    OpenUp(path_);
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TScratchFolder::File(std::string_view name) const {
    return path_ + "/" + std::string(name);
}

std::string TScratchFolder::Write(std::string_view name, std::string_view bytes) const {
    std::string path = File(name);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
    return path;
}

const TScratchFolder& SharedScratchFolder() {
    static const TScratchFolder folder;
    return folder;
}

} // namespace korvo::test
