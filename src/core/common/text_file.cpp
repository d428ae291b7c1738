#include "common/text_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace korvo {

namespace {
std::string SystemText(int error) {
    return std::strerror(error);
}

// Backslashes separate directories on every platform, so that sources written
// on Windows keep working; the drive colon only means something on Windows.
#ifdef _WIN32
constexpr const char* kSeparators = "/\\:";
#else
constexpr const char* kSeparators = "/\\";
#endif
} // namespace

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(bytes.substr(start, i - start));
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
    return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    std::size_t total = 0;
    for (const auto& line : lines)
        total += line.size() + 2;
    std::string text;
    text.reserve(total);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string ReadFileBytes(const std::string& path) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in || std::filesystem::is_directory(path))
        throw EFileError("Cannot open file \"" + path + "\". " +
                         SystemText(errno ? errno : EISDIR));
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw EFileError("Cannot read file \"" + path + "\". " + SystemText(EIO));
    return bytes;
}

std::vector<std::string> ReadTextLines(const std::string& path) {
    return SplitLines(ReadFileBytes(path));
}

namespace {
// The file a write replaces: for a symbolic link the file it names, so that
// the link stays.
std::string ReplacedFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) return path;
    auto resolved = std::filesystem::weakly_canonical(path, error);
    return error ? path : resolved.string();
}

// An existing file that the user may not write is refused, as writing it in
// place would be: the error number, or 0 when it may be replaced.
int ReplaceRefusal(const std::string& file,
                   [[maybe_unused]] const std::filesystem::file_status& status) {
#ifdef _WIN32
    return (status.permissions() & std::filesystem::perms::owner_write) ==
                   std::filesystem::perms::none
               ? EACCES
               : 0;
#else
    return ::access(file.c_str(), W_OK) == 0 ? 0 : errno;
#endif
}
} // namespace

void WriteFileBytesAtomic(const std::string& path, std::string_view bytes) {
    static std::mt19937 random{std::random_device{}()};
    const std::string target = ReplacedFile(path);
    std::error_code statusError;
    const auto existing = std::filesystem::status(target, statusError);
    const bool replacing = !statusError && std::filesystem::is_regular_file(existing);
    if (int refusal = replacing ? ReplaceRefusal(target, existing) : 0)
        throw EFileError("Cannot create file \"" + path + "\". " + SystemText(refusal));
    std::string temporary = target + ".tmp" + std::to_string(random() % 1000000);
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) throw EFileError("Cannot create file \"" + path + "\". " + SystemText(errno));
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int error = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) {
        std::remove(temporary.c_str());
        throw EFileError("Cannot write file \"" + path + "\". " + SystemText(error));
    }
    std::error_code ignored;
    // The new file keeps the access rights of the one it replaces.
    if (replacing) std::filesystem::permissions(temporary, existing.permissions(), ignored);
    // std::filesystem::rename replaces an existing file on every platform.
    std::error_code renameError;
    std::filesystem::rename(temporary, target, renameError);
    if (renameError) {
        std::remove(temporary.c_str());
        throw EFileError("Cannot create file \"" + path + "\". " + renameError.message());
    }
}

void WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
    WriteFileBytesAtomic(path, JoinLinesCrLf(lines));
}

void AppendTextLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string bytes = JoinLinesCrLf(lines);
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file) throw EFileError("Cannot open file \"" + path + "\". " + SystemText(errno));
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int error = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) throw EFileError("Cannot write file \"" + path + "\". " + SystemText(error));
}

std::string DirectoryPart(std::string_view path) {
    auto position = path.find_last_of(kSeparators);
    return position == std::string_view::npos ? std::string()
                                              : std::string(path.substr(0, position + 1));
}

std::string BaseNameWithoutExtension(std::string_view path) {
    auto slash = path.find_last_of(kSeparators);
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    auto dot = name.find_last_of('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::string ExpandFileName(const std::string& path) {
    std::error_code error;
    auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

} // namespace korvo
