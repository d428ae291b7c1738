#include "dap/adapter_loop.h"

#include "dap/debug_adapter.h"
#include "protocol/message_queue.h"

#include <chrono>
#include <ostream>

namespace korvo::servers {

int RunDebugAdapter(std::istream& in, std::ostream& out, std::ostream& log,
                    TDebugLauncher launcher) {
    TMessageWriter writer(out);
    TDebugAdapter adapter(std::move(launcher),
                          [&writer](const QJsonObject& message) { writer.Write(message); });
    TMessageQueue queue(in);
    using std::chrono::milliseconds;
    while (!adapter.Done()) {
        // A run polls between its bursts; an idle adapter waits.
        auto read = queue.WaitFor(adapter.Busy() ? milliseconds(0) : milliseconds(500));
        if (read && read->Status == TReadStatus::End) break;
        if (read && read->Status == TReadStatus::Malformed) {
            log << "korvo dap: " << read->Error << "\n";
            adapter.ReportUnreadable(read->Error);
        } else if (read) {
            adapter.Handle(read->Message);
        }
        if (adapter.Busy()) adapter.Advance();
    }
    adapter.Shutdown();
    log.flush();
    return 0;
}

} // namespace korvo::servers
