#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// A file that could not be read or written; the message is what the user sees.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Splits bytes into lines ending at CR LF, LF or CR. A break at the very end
// does not start another line.
std::vector<std::string> SplitLines(std::string_view bytes);

// Joins lines, each followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

bool FileExists(const std::string& path);

// The whole file as bytes; throws EFileError.
std::string ReadFileBytes(const std::string& path);

// The file as lines (see SplitLines); throws EFileError.
std::vector<std::string> ReadTextLines(const std::string& path);

// Replaces the file in one step: the bytes go to a temporary file beside the
// target, which is then renamed over it, so a failure never leaves a
// half-written target. Throws EFileError.
void WriteFileBytesAtomic(const std::string& path, std::string_view bytes);

// Lines with CR LF after each, written as by WriteFileBytesAtomic.
void WriteTextLines(const std::string& path, const std::vector<std::string>& lines);

// Appends lines with CR LF after each to the end of the file, creating it
// when missing. Throws EFileError.
void AppendTextLines(const std::string& path, const std::vector<std::string>& lines);

// The directory part of a path, up to and including the last separator
// ("/", "\" or ":"); empty when there is none.
std::string DirectoryPart(std::string_view path);

// The file name without directory and extension.
std::string BaseNameWithoutExtension(std::string_view path);

// A full path for a name relative to the current directory.
std::string ExpandFileName(const std::string& path);

} // namespace korvo
