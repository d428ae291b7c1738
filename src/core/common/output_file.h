#pragma once

#include <fstream>
#include <string>

namespace korvo {

// A file written as a stream while a run goes on, in place: a pipe, a device
// or a symbolic link keeps what it is, and a large file never has to fit in
// the memory. For the results of a run, which are made anew each time.
class TOutputFile {
public:
    // Creates or empties the file; throws EFileError.
    explicit TOutputFile(const std::string& path);
    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;

    std::ostream& Stream() { return stream_; }
    // Throws EFileError when anything could not be written.
    void Close();

private:
    std::string path_;
    std::ofstream stream_;
};

} // namespace korvo
