#include "cli/stdin_reader.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <cerrno>
#include <unistd.h>
#endif

namespace korvo::cli {

namespace {
// The bytes of one read of standard input (0 at its end, -1 on an error).
long ReadStandardInput(char* buffer, std::size_t size) {
#ifdef _WIN32
    return _read(0, buffer, static_cast<unsigned>(size));
#else
    for (;;) {
        ssize_t count = ::read(0, buffer, size);
        if (count >= 0 || errno != EINTR) return static_cast<long>(count);
    }
#endif
}
} // namespace

struct TStdinReader::TShared {
    std::mutex Mutex;
    std::condition_variable Room;
    std::string Buffer;
    bool Ended = false;
    bool Abandoned = false;
};

TStdinReader::TStdinReader() : shared_(std::make_shared<TShared>()) {
#ifdef _WIN32
    _setmode(0, _O_BINARY);
#endif
    std::thread([shared = shared_] {
        char chunk[4096];
        for (;;) {
            std::size_t room;
            {
                std::unique_lock lock(shared->Mutex);
                shared->Room.wait(
                    lock, [&] { return shared->Abandoned || shared->Buffer.size() < kCapacity; });
                if (shared->Abandoned) return;
                room = std::min(sizeof chunk, kCapacity - shared->Buffer.size());
            }
            long count = ReadStandardInput(chunk, room);
            std::lock_guard lock(shared->Mutex);
            if (count <= 0) {
                shared->Ended = true;
                return;
            }
            shared->Buffer.append(chunk, static_cast<std::size_t>(count));
        }
    }).detach();
}

TStdinReader::~TStdinReader() {
    std::lock_guard lock(shared_->Mutex);
    shared_->Abandoned = true;
    shared_->Room.notify_all();
}

std::string TStdinReader::Take(std::size_t max) {
    std::lock_guard lock(shared_->Mutex);
    std::string taken = shared_->Buffer.substr(0, max);
    shared_->Buffer.erase(0, taken.size());
    if (!taken.empty()) shared_->Room.notify_all();
    return taken;
}

bool TStdinReader::Ended() const {
    std::lock_guard lock(shared_->Mutex);
    return shared_->Ended && shared_->Buffer.empty();
}

} // namespace korvo::cli
