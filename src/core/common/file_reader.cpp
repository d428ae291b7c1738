// The one reader of files: bounded in size, refusing what could block or
// never end, and turning every failure after opening into EFileError.
#include "common/text_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#else
#include <io.h>
#endif

namespace korvo {

namespace {

constexpr std::size_t kReadChunk = std::size_t{1} << 16;

[[noreturn]] void FailOpen(const std::string& path, const std::string& reason) {
    throw EFileError("Cannot open file \"" + path + "\". " + reason);
}

[[noreturn]] void FailRead(const std::string& path, const std::string& reason) {
    throw EFileError("Cannot read file \"" + path + "\". " + reason);
}

std::string SpecialFileReason(const struct stat& info) {
#ifndef _WIN32
    if (S_ISFIFO(info.st_mode)) return "It is a FIFO, not a regular file";
    if (S_ISSOCK(info.st_mode)) return "It is a socket, not a regular file";
#endif
    if (S_ISCHR(info.st_mode)) return "It is a device, not a regular file";
    return "It is not a regular file";
}

std::string SizeText(std::uint64_t bytes) {
    return bytes % (1 << 20) == 0 ? std::to_string(bytes >> 20) + " MiB"
                                  : std::to_string(bytes) + " bytes";
}

// Closes the descriptor on every way out.
struct TDescriptor {
    int Value;
    ~TDescriptor() { ::close(Value); }
};

} // namespace

std::string ReadFileBytes(const std::string& path, std::uint64_t maxBytes, TSpecialFiles special) {
    struct stat info {};
    if (path.empty()) FailOpen(path, std::strerror(ENOENT));
    if (::stat(path.c_str(), &info) != 0) FailOpen(path, std::strerror(errno));
    if (S_ISDIR(info.st_mode)) FailOpen(path, std::strerror(EISDIR));
    const bool refuse = special == TSpecialFiles::Refuse;
    if (refuse && !S_ISREG(info.st_mode)) FailRead(path, SpecialFileReason(info));

    int flags = O_RDONLY;
#ifndef _WIN32
    flags |= O_CLOEXEC | O_NOCTTY;
    // A FIFO put in the file's place since the test must not block the open.
    if (refuse) flags |= O_NONBLOCK;
#else
    flags |= O_BINARY;
#endif
    TDescriptor file{::open(path.c_str(), flags)};
    if (file.Value < 0) FailOpen(path, std::strerror(errno));
    if (::fstat(file.Value, &info) != 0) FailRead(path, std::strerror(errno));
    if (refuse && !S_ISREG(info.st_mode)) FailRead(path, SpecialFileReason(info));

    const std::size_t limit = static_cast<std::size_t>(maxBytes);
    // A regular file's size is known, so that it takes its own size in
    // memory; files of the system report 0 and grow as they are read.
    std::size_t expected = S_ISREG(info.st_mode) && info.st_size > 0
                               ? static_cast<std::size_t>(info.st_size) + 1
                               : kReadChunk;
    std::string bytes(std::min(expected, limit + 1), '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > limit) FailRead(path, "It is larger than " + SizeText(maxBytes));
            bytes.resize(std::min(std::max(2 * used, kReadChunk), limit + 1));
        }
        auto count = ::read(file.Value, bytes.data() + used,
                            static_cast<unsigned>(std::min(bytes.size() - used, kReadChunk << 4)));
        if (count < 0) {
            if (errno == EINTR) continue;
            FailRead(path, std::strerror(errno));
        }
        if (count == 0) break;
        used += static_cast<std::size_t>(count);
    }
    if (used > limit) FailRead(path, "It is larger than " + SizeText(maxBytes));
    bytes.resize(used);
    return bytes;
}

} // namespace korvo
