#pragma once

#include <string>
#include <string_view>

namespace korvo::test {

// A fresh empty folder under the temporary folder ($TMPDIR, else /tmp) for
// the files a test makes. It goes with everything in it, read-only parts
// included, when the object goes.
class TScratchFolder {
public:
    TScratchFolder();
    ~TScratchFolder();
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    // The path of a file in the folder.
    std::string File(std::string_view name) const;
    std::string operator/(std::string_view name) const { return File(name); }
    // Writes the bytes into a file of the folder and returns its path.
    std::string Write(std::string_view name, std::string_view bytes) const;

private:
    std::string path_;
};

// One scratch folder for the whole run of a test program, removed when the
// program ends.
const TScratchFolder& SharedScratchFolder();

} // namespace korvo::test
