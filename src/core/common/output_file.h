#pragma once

#include "common/text_file.h"

#include <fstream>
#include <string>

namespace korvo {

// A file written as a stream while a run goes on, so that a large file never
// has to fit in the memory. It is written as WriteFileBytes replaces a file:
// into a new file that Close puts in place, so that a run that fails or is
// abandoned before Close leaves the old file as it was; a pipe, a device or
// a symbolic link keeps what it is.
class TOutputFile {
public:
    // Creates the new file; throws EFileError.
    explicit TOutputFile(const std::string& path);
    ~TOutputFile();
    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;

    std::ostream& Stream() { return stream_; }
    // Puts the file in place; throws EFileError when anything could not be
    // written.
    void Close();

private:
    TStagedFile file_;
    std::ofstream stream_;
    bool closed_ = false;
};

} // namespace korvo
