#include "common/output_file.h"

#include "common/text_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace korvo {

TOutputFile::TOutputFile(const std::string& path) : path_(path) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored))
        throw EFileError("Cannot create file \"" + path + "\". " + std::strerror(EISDIR));
    errno = 0;
    stream_.open(path, std::ios::binary | std::ios::trunc);
    if (!stream_)
        throw EFileError("Cannot create file \"" + path + "\". " +
                         std::strerror(errno ? errno : EACCES));
}

void TOutputFile::Close() {
    if (!stream_.is_open()) return;
    stream_.flush();
    bool written = static_cast<bool>(stream_);
    int error = errno;
    stream_.close();
    if (!written || !stream_)
        throw EFileError("Cannot write file \"" + path_ + "\". " +
                         std::strerror(error ? error : EIO));
}

} // namespace korvo
