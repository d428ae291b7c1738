#include "common/text_file.h"

#include <filesystem>
#include <sys/stat.h>

namespace korvo {

namespace {
// Backslashes separate directories on every platform, so that sources written
// on Windows keep working; the drive colon only means something on Windows.
#ifdef _WIN32
constexpr const char* kSeparators = "/\\:";
#else
constexpr const char* kSeparators = "/\\";
#endif

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
} // namespace

std::optional<std::string_view> NextLine(std::string_view bytes, std::size_t& position) {
    if (position >= bytes.size()) return std::nullopt;
    const std::size_t start = position;
    const std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
        position = bytes.size();
        return bytes.substr(start);
    }
    position = end + 1;
    if (bytes[end] == '\r' && position < bytes.size() && bytes[position] == '\n') ++position;
    return bytes.substr(start, end - start);
}

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t position = 0;
    while (auto line = NextLine(bytes, position))
        lines.emplace_back(*line);
    return lines;
}

std::string_view WithoutByteOrderMark(std::string_view bytes) {
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        bytes.remove_prefix(kByteOrderMark.size());
    return bytes;
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

bool PathExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

bool SameFile(const std::string& first, const std::string& second) {
    std::error_code error;
    if (PathExists(first) && PathExists(second))
        return std::filesystem::equivalent(first, second, error);
    return ExpandFileName(first) == ExpandFileName(second);
}

std::vector<std::string> ReadTextLines(const std::string& path, std::uint64_t maxBytes,
                                       TSpecialFiles special) {
    return SplitLines(WithoutByteOrderMark(ReadFileBytes(path, maxBytes, special)));
}

void WriteTextLines(const std::string& path, const std::vector<std::string>& lines,
                    TWriteMode mode) {
    WriteFileBytes(path, JoinLinesCrLf(lines), mode);
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

bool IsAbsoluteFileName(std::string_view name) {
    return !name.empty() &&
           (name.front() == '/' || name.front() == '\\' || (name.size() > 1 && name[1] == ':'));
}

} // namespace korvo
