#include "protocol/message_queue.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace korvo::servers {

struct TMessageQueue::TShared {
    std::mutex Mutex;
    std::condition_variable Arrived;
    std::deque<TReadResult> Results;
    bool Ended = false;
    std::thread Reader;
};

TMessageQueue::TMessageQueue(std::istream& in) : shared_(std::make_shared<TShared>()) {
    // The thread keeps the shared part alive, so that it may outlive the
    // queue while it waits in a read.
    shared_->Reader = std::thread([shared = shared_, &in] {
        TMessageReader reader(in);
        for (;;) {
            TReadResult result = reader.Read();
            const bool end = result.Status == TReadStatus::End;
            {
                std::lock_guard lock(shared->Mutex);
                if (end)
                    shared->Ended = true;
                else
                    shared->Results.push_back(std::move(result));
            }
            shared->Arrived.notify_all();
            if (end) return;
        }
    });
}

TMessageQueue::~TMessageQueue() {
    bool ended = false;
    {
        std::lock_guard lock(shared_->Mutex);
        ended = shared_->Ended;
    }
    if (ended)
        shared_->Reader.join();
    else
        shared_->Reader.detach();
}

std::optional<TReadResult> TMessageQueue::WaitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(shared_->Mutex);
    if (!shared_->Arrived.wait_for(lock, timeout,
                                   [&] { return !shared_->Results.empty() || shared_->Ended; }))
        return std::nullopt;
    if (shared_->Results.empty()) return TReadResult{};
    TReadResult result = std::move(shared_->Results.front());
    shared_->Results.pop_front();
    return result;
}

} // namespace korvo::servers
