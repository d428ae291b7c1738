#include "platform/process_launcher.h"

#ifdef _WIN32

#include <vector>
#include <windows.h>

namespace korvo {

bool TSystemProcessLauncher::Launch(const std::string& commandLine, std::string& errorText) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    // CreateProcessA may write into the command line, so it gets a copy.
    std::vector<char> command(commandLine.begin(), commandLine.end());
    command.push_back('\0');
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, ".", &startup,
                       &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }
    DWORD error = GetLastError();
    char text[200] = {};
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, 199, nullptr);
    errorText.assign(text, length);
    return false;
}

} // namespace korvo

#else

#include "platform/command_words.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace korvo {

namespace {
// The files to try for the program word: the word itself when it names a
// path, else the word in every folder of PATH (an empty entry is the current
// folder).
std::vector<std::string> ProgramCandidates(const std::string& program) {
    if (program.find('/') != std::string::npos) return {program};
    std::string path;
    if (const char* fromEnvironment = std::getenv("PATH")) {
        path = fromEnvironment;
    } else {
        std::size_t length = ::confstr(_CS_PATH, nullptr, 0);
        path.resize(length);
        if (length > 0) ::confstr(_CS_PATH, path.data(), length);
        path.resize(path.empty() ? 0 : std::strlen(path.c_str()));
        if (path.empty()) path = "/bin:/usr/bin";
    }
    std::vector<std::string> candidates;
    std::size_t start = 0;
    while (true) {
        std::size_t end = path.find(':', start);
        std::string folder = path.substr(start, end == std::string::npos ? end : end - start);
        candidates.push_back((folder.empty() ? std::string(".") : folder) + "/" + program);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return candidates;
}

bool MakePipe(int fds[2]) {
#ifdef __linux__
    return ::pipe2(fds, O_CLOEXEC) == 0;
#else
    if (::pipe(fds) != 0) return false;
    ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(fds[1], F_SETFD, FD_CLOEXEC);
    return true;
#endif
}

[[noreturn]] void ReportAndExit(int reportFd, int error) {
    while (::write(reportFd, &error, sizeof error) < 0 && errno == EINTR) {
    }
    ::_exit(127);
}

// Runs in the child process of a possibly multi-threaded program, so it uses
// only calls that are safe after fork. Tries the candidates in order the way
// execvp does: a missing file moves on, a refused one is remembered, any
// other failure stops the search.
[[noreturn]] void ExecProgram(const std::vector<char*>& candidates, char* const* argv,
                              int reportFd) {
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::signal(SIGPIPE, SIG_DFL);
    bool refused = false;
    int error = ENOENT;
    for (char* candidate : candidates) {
        ::execve(candidate, argv, environ);
        error = errno;
        if (error == EACCES) {
            refused = true;
        } else if (error != ENOENT && error != ENOTDIR && error != ESTALE && error != ENODEV &&
                   error != ETIMEDOUT) {
            break;
        }
    }
    ReportAndExit(reportFd, refused && (error == ENOENT || error == ENOTDIR) ? EACCES : error);
}

// Starts the program in a grandchild: the child that forks it ends at once
// and is reaped here, so the program belongs to the system's reaper and never
// stays a zombie of this process. The exec failure comes back through a pipe
// that closes itself when the exec succeeds.
int StartDetached(const std::vector<std::string>& words) {
    std::vector<std::string> candidateTexts = ProgramCandidates(words.front());
    std::vector<char*> candidates;
    for (auto& text : candidateTexts)
        candidates.push_back(text.data());
    std::vector<std::string> argvTexts = words;
    std::vector<char*> argv;
    for (auto& text : argvTexts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    int report[2];
    if (!MakePipe(report)) return errno;
    pid_t child = ::fork();
    if (child < 0) {
        int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return error;
    }
    if (child == 0) {
        ::close(report[0]);
        pid_t grandchild = ::fork();
        if (grandchild == 0) ExecProgram(candidates, argv.data(), report[1]);
        if (grandchild < 0) ReportAndExit(report[1], errno);
        ::_exit(0);
    }
    ::close(report[1]);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}
} // namespace

bool TSystemProcessLauncher::Launch(const std::string& commandLine, std::string& errorText) {
    auto words = SplitCommandWords(commandLine);
    if (!words) {
        errorText = "Unterminated quoted string";
        return false;
    }
    int error = words->empty() ? ENOENT : StartDetached(*words);
    if (error == 0) return true;
    errorText = std::strerror(error);
    return false;
}

} // namespace korvo

#endif
