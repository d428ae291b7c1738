// The one writer of files. What it must never do is replace something that
// is not a plain file of its own (a device, a FIFO, a file shared by hard
// links, the process's own standard output) by a new regular file.
#include "common/text_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#else
#include <io.h>
#endif

namespace korvo {

namespace {

constexpr int kMaxLinkHops = 40;

[[noreturn]] void FailCreate(const std::string& path, int error) {
    throw EFileError("Cannot create file \"" + path + "\". " + std::strerror(error));
}

[[noreturn]] void FailWrite(const std::string& path, int error) {
    throw EFileError("Cannot write file \"" + path + "\". " + std::strerror(error));
}

#ifndef _WIN32

// Writes all bytes to the descriptor; the error number, 0 on success.
int WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        auto count = ::write(descriptor, bytes.data(),
                             static_cast<unsigned>(std::min<std::size_t>(bytes.size(), 1 << 24)));
        if (count < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return 0;
}

// Writes and closes; the first error number, 0 on success.
int WriteAndClose(int descriptor, std::string_view bytes) {
    int error = WriteAll(descriptor, bytes);
    if (::close(descriptor) != 0 && error == 0) error = errno;
    return error;
}

// The descriptor of the process that a name stands for.
std::optional<int> OwnDescriptor(const std::string& path) {
    const std::string name = std::filesystem::path(path).lexically_normal().string();
    if (name == "/dev/stdout") return 1;
    if (name == "/dev/stderr") return 2;
    for (const std::string& prefix : {std::string("/dev/fd/"), std::string("/proc/self/fd/"),
                                      "/proc/" + std::to_string(::getpid()) + "/fd/"}) {
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string number = name.substr(prefix.size());
        if (number.size() > 9 || number.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        return std::stoi(number);
    }
    return std::nullopt;
}

// Where a write through path lands: the file at the end of its chain of
// symbolic links, or one of the process's own descriptors.
struct TTarget {
    std::string Path;
    std::optional<int> Descriptor;
};

TTarget ResolveTarget(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        if (auto descriptor = OwnDescriptor(current)) return {current, descriptor};
        std::error_code error;
        if (!std::filesystem::is_symlink(current, error)) break;
        std::filesystem::path link = std::filesystem::read_symlink(current, error);
        if (error) break;
        current = link.is_absolute()
                      ? link.string()
                      : (std::filesystem::path(current).parent_path() / link).string();
    }
    return {current, std::nullopt};
}

// Writes to one of the process's descriptors, after what the C streams
// (and the C++ streams synchronised with them) still hold.
void WriteToDescriptor(const std::string& path, int descriptor, std::string_view bytes) {
    std::fflush(nullptr);
    if (::fcntl(descriptor, F_GETFD) < 0) FailWrite(path, errno);
    if (int error = WriteAll(descriptor, bytes)) FailWrite(path, error);
}

void WriteInPlace(const std::string& path, const std::string& target, int flags,
                  std::string_view bytes) {
    int descriptor = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | flags, 0666);
    if (descriptor < 0) FailCreate(path, errno);
    if (int error = WriteAndClose(descriptor, bytes)) FailWrite(path, error);
}

// A new file with a short random name in the folder, so that a target name
// of any legal length leaves room for it; -1 with errno set when the folder
// takes none.
int CreateTemporary(const std::string& folder, mode_t mode, std::string& name) {
    thread_local std::mt19937 random{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + ".korvo-";
        for (int i = 0; i < 8; ++i)
            name += kLetters[random() % (sizeof kLetters - 1)];
        int descriptor =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    return -1;
}

// A new file beside target that is to replace it, with the access rights
// and, where allowed, the owner of the one it replaces; -1 when the folder
// takes none.
int CreateReplacement(const std::string& target, const struct stat* existing,
                      std::string& temporary) {
    const std::string parent = std::filesystem::path(target).parent_path().string();
    const std::string folder = parent.empty() ? parent : parent + "/";
    int descriptor =
        CreateTemporary(folder, existing ? existing->st_mode & 07777 : 0666, temporary);
    if (descriptor >= 0 && existing) {
        [[maybe_unused]] int ignored = ::fchown(descriptor, existing->st_uid, existing->st_gid);
        ::fchmod(descriptor, existing->st_mode & 07777);
    }
    return descriptor;
}

void RenameOver(const std::string& path, const std::string& temporary, const std::string& target) {
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        int error = errno;
        ::unlink(temporary.c_str());
        FailCreate(path, error);
    }
}

// Writes a temporary file beside target and renames it over target. False
// when the folder takes no temporary file, so that the caller writes in
// place instead.
bool ReplaceThroughTemporary(const std::string& path, const std::string& target,
                             const struct stat* existing, std::string_view bytes) {
    std::string temporary;
    int descriptor = CreateReplacement(target, existing, temporary);
    if (descriptor < 0) return false;
    if (int error = WriteAndClose(descriptor, bytes)) {
        ::unlink(temporary.c_str());
        FailWrite(path, error);
    }
    RenameOver(path, temporary, target);
    return true;
}

// What a replacing write does with path: the file it lands in, whether that
// is one of the process's descriptors, and whether it is to be replaced
// (else it is written in place).
struct TWritePlan {
    TTarget Target;
    struct stat Existing {};
    bool Exists = false;
    bool Replace = false;
};

TWritePlan PlanReplacement(const std::string& path) {
    if (path.empty()) FailCreate(path, ENOENT);
    TWritePlan plan;
    plan.Target = ResolveTarget(path);
    if (plan.Target.Descriptor) return plan;
    plan.Exists = ::stat(plan.Target.Path.c_str(), &plan.Existing) == 0;
    if (plan.Exists && S_ISDIR(plan.Existing.st_mode)) FailCreate(path, EISDIR);
    const bool ownRegularFile =
        plan.Exists && S_ISREG(plan.Existing.st_mode) && plan.Existing.st_nlink == 1;
    if (!plan.Exists || ownRegularFile) {
        // A file the user may not write is refused, as writing it in place
        // would be, although its folder would let it be replaced.
        if (plan.Exists && ::access(plan.Target.Path.c_str(), W_OK) != 0) FailCreate(path, errno);
        plan.Replace = true;
    }
    return plan;
}

#endif

} // namespace

#ifndef _WIN32

void WriteFileBytes(const std::string& path, std::string_view bytes, TWriteMode mode) {
    if (mode == TWriteMode::Append) {
        if (path.empty()) FailCreate(path, ENOENT);
        const TTarget target = ResolveTarget(path);
        if (target.Descriptor) return WriteToDescriptor(path, *target.Descriptor, bytes);
        struct stat info {};
        if (::stat(target.Path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            FailCreate(path, EISDIR);
        return WriteInPlace(path, target.Path, O_CREAT | O_APPEND, bytes);
    }
    const TWritePlan plan = PlanReplacement(path);
    if (plan.Target.Descriptor) return WriteToDescriptor(path, *plan.Target.Descriptor, bytes);
    if (plan.Replace && ReplaceThroughTemporary(path, plan.Target.Path,
                                                plan.Exists ? &plan.Existing : nullptr, bytes))
        return;
    WriteInPlace(path, plan.Target.Path,
                 O_CREAT | (plan.Exists && S_ISREG(plan.Existing.st_mode) ? O_TRUNC : 0), bytes);
}

TStagedFile StageFile(const std::string& path) {
    const TWritePlan plan = PlanReplacement(path);
    if (plan.Target.Descriptor) {
        std::fflush(nullptr);
        return {path, plan.Target.Path, {}, true};
    }
    if (plan.Replace) {
        std::string temporary;
        int descriptor =
            CreateReplacement(plan.Target.Path, plan.Exists ? &plan.Existing : nullptr, temporary);
        if (descriptor >= 0) {
            ::close(descriptor);
            return {path, temporary, plan.Target.Path, false};
        }
    }
    return {path, plan.Target.Path, {}, false};
}

void CommitStagedFile(const TStagedFile& file) {
    if (!file.Target.empty()) RenameOver(file.Path, file.WritePath, file.Target);
}

void DiscardStagedFile(const TStagedFile& file) noexcept {
    if (!file.Target.empty()) ::unlink(file.WritePath.c_str());
}

#else

void WriteFileBytes(const std::string& path, std::string_view bytes, TWriteMode mode) {
    const bool append = mode == TWriteMode::Append;
    std::string temporary = append ? path : path + ".korvo-tmp";
    std::FILE* file = std::fopen(temporary.c_str(), append ? "ab" : "wb");
    if (!file) FailCreate(path, errno);
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int error = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) {
        if (!append) std::remove(temporary.c_str());
        FailWrite(path, error);
    }
    if (append) return;
    std::error_code renameError;
    std::filesystem::rename(temporary, path, renameError);
    if (renameError) {
        std::remove(temporary.c_str());
        throw EFileError("Cannot create file \"" + path + "\". " + renameError.message());
    }
}

TStagedFile StageFile(const std::string& path) {
    return {path, path + ".korvo-tmp", path, false};
}

void CommitStagedFile(const TStagedFile& file) {
    std::error_code error;
    std::filesystem::rename(file.WritePath, file.Target, error);
    if (error) {
        std::remove(file.WritePath.c_str());
        throw EFileError("Cannot create file \"" + file.Path + "\". " + error.message());
    }
}

void DiscardStagedFile(const TStagedFile& file) noexcept {
    std::remove(file.WritePath.c_str());
}

#endif

} // namespace korvo
