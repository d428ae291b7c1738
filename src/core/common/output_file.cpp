#include "common/output_file.h"

#include <cerrno>
#include <cstring>

namespace korvo {

TOutputFile::TOutputFile(const std::string& path) : file_(StageFile(path)) {
    errno = 0;
    stream_.open(file_.WritePath,
                 std::ios::binary | (file_.Append ? std::ios::app : std::ios::trunc));
    if (!stream_) {
        int error = errno ? errno : EACCES;
        DiscardStagedFile(file_);
        throw EFileError("Cannot create file \"" + path + "\". " + std::strerror(error));
    }
}

TOutputFile::~TOutputFile() {
    if (closed_) return;
    stream_.close();
    DiscardStagedFile(file_);
}

void TOutputFile::Close() {
    if (closed_) return;
    closed_ = true;
    stream_.flush();
    bool written = static_cast<bool>(stream_);
    int error = errno;
    stream_.close();
    if (!written || !stream_) {
        DiscardStagedFile(file_);
        throw EFileError("Cannot write file \"" + file_.Path + "\". " +
                         std::strerror(error ? error : EIO));
    }
    CommitStagedFile(file_);
}

} // namespace korvo
