#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
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

// The next line of bytes from position on, ending at CR LF, LF or CR (not
// included); position moves past the line break. None at the end; a break
// at the very end does not start another line.
std::optional<std::string_view> NextLine(std::string_view bytes, std::size_t& position);

// Splits bytes into lines as NextLine does.
std::vector<std::string> SplitLines(std::string_view bytes);

// The bytes without a UTF-8 byte-order mark at their start.
std::string_view WithoutByteOrderMark(std::string_view bytes);

// Joins lines, each followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// A regular file (or a link to one) exists at path.
bool FileExists(const std::string& path);
// Anything exists at path: a file, a folder, a FIFO, a device.
bool PathExists(const std::string& path);
// Both names reach the same file: the same file system object when both
// exist (links included), else the same full path.
bool SameFile(const std::string& first, const std::string& second);

// --- Reading ---

// The largest file a reader takes; a larger one is refused with a message
// rather than read into memory without end.
inline constexpr std::uint64_t kMaxTextFileBytes = std::uint64_t{64} << 20;
// Stimulus files hold one value per line and may be very long.
inline constexpr std::uint64_t kMaxStimulusFileBytes = std::uint64_t{1} << 30;

// Whether a reader takes a FIFO, a device or a socket. Files named in
// sources are refused, as reading one could block or never end; a file the
// user names on a command line may be a pipe.
enum class TSpecialFiles { Refuse, Read };

// The whole file as bytes. Throws EFileError when it cannot be opened or
// read (a read error after opening included), is a folder, is larger than
// maxBytes, or is not a regular file and special files are refused.
std::string ReadFileBytes(const std::string& path, std::uint64_t maxBytes = kMaxTextFileBytes,
                          TSpecialFiles special = TSpecialFiles::Refuse);

// The file as lines (see SplitLines), without a byte-order mark; throws as
// ReadFileBytes.
std::vector<std::string> ReadTextLines(const std::string& path,
                                       std::uint64_t maxBytes = kMaxTextFileBytes,
                                       TSpecialFiles special = TSpecialFiles::Refuse);

// --- Writing ---

enum class TWriteMode { Replace, Append };

// Writes bytes to the file at path; throws EFileError.
//
// Replace: a missing file, or a regular file with one link, is written to a
// temporary file beside it that is then renamed over it, so that a failure
// never leaves it half written; it keeps its access rights. A symbolic link
// is followed and the file it names replaced; the link stays. Whatever must
// not be replaced by a new file is opened and written in place: a FIFO, a
// device, a file with several hard links, a file in a folder where no
// temporary file can be made. A name of one of the process's own open files
// (/dev/stdout, /dev/stderr, /dev/fd/N, /proc/self/fd/N) writes to that
// descriptor after the C streams are flushed, so that the text follows what
// the program printed before.
//
// Append: the bytes are added at the end, the file created when missing.
void WriteFileBytes(const std::string& path, std::string_view bytes,
                    TWriteMode mode = TWriteMode::Replace);

// A file written piece by piece (a stream) under the rules of Replace: the
// bytes go to WritePath, a new file beside Target that CommitStagedFile
// renames over it, so that an unfinished or abandoned write leaves the old
// file whole; or, where Replace writes in place, to the file itself (Target
// empty; Append for one of the process's own descriptors, which must not be
// emptied).
struct TStagedFile {
    std::string Path;
    std::string WritePath;
    std::string Target;
    bool Append = false;
};
// Creates the new file; throws EFileError when the file cannot be written.
TStagedFile StageFile(const std::string& path);
// Puts the written file in place; throws EFileError.
void CommitStagedFile(const TStagedFile& file);
// Removes the new file, leaving the old one.
void DiscardStagedFile(const TStagedFile& file) noexcept;

// Lines with CR LF after each, written as by WriteFileBytes.
void WriteTextLines(const std::string& path, const std::vector<std::string>& lines,
                    TWriteMode mode = TWriteMode::Replace);

// --- Names ---

// The directory part of a path, up to and including the last separator
// ("/" or "\", and ":" on Windows); empty when there is none.
std::string DirectoryPart(std::string_view path);

// The file name without directory and extension.
std::string BaseNameWithoutExtension(std::string_view path);

// A full path for a name relative to the current directory.
std::string ExpandFileName(const std::string& path);

// A name that does not depend on a current directory: "/x", "\x", "C:x".
bool IsAbsoluteFileName(std::string_view name);

} // namespace korvo
