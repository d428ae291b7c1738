#pragma once

#include "common/core_kind.h"
#include "common/settings.h"
#include "lsp/lsp_service.h"
#include "protocol/message_stream.h"

#include <chrono>
#include <istream>
#include <optional>
#include <ostream>
#include <set>
#include <string>

namespace korvo::servers::lsp {

struct TLanguageServerOptions {
    const ISettingsStore& Settings;
    // The core for every file unless the client names one; nothing: each
    // file's own choice.
    std::optional<TCoreKind> Core;
    // How long the text must stay unchanged before its diagnostics are made.
    std::chrono::milliseconds Debounce{25};
};

// The language server protocol over JSON-RPC: answers each message the
// client sends, and publishes the diagnostics of the documents whose text
// changed once it has stayed unchanged for the debounce time.
class TLanguageServer {
public:
    TLanguageServer(std::ostream& out, const TLanguageServerOptions& options);

    // Serves the messages of in until the client sends exit or goes away.
    // Returns the exit status: 0 after shutdown, else 1.
    int Run(std::istream& in);

    // One read result: a message is handled, a malformed one answered with
    // a parse error.
    void Take(const TReadResult& result);
    // Publishes the diagnostics that are due, at once.
    void PublishDue();
    // Set once the client sent exit.
    std::optional<int> ExitStatus() const { return exitStatus_; }

private:
    std::chrono::milliseconds WaitTime() const;
    void Schedule(const std::string& uri);
    void ScheduleAll();
    void Publish(const std::vector<TPublishedDiagnostics>& published);
    void Error(const QJsonValue& id, int code, const std::string& message);
    void Reply(const QJsonValue& id, const QJsonValue& result);
    void Handle(const QJsonObject& message);
    void Request(const QJsonValue& id, const std::string& method, const QJsonObject& params);
    void Notification(const std::string& method, const QJsonObject& params);
    // An unknown core is reported to the user and leaves the choice as it
    // was (false).
    bool SetClientCore(const QJsonValue& value);

    TMessageWriter writer_;
    TLanguageService service_;
    std::chrono::milliseconds debounce_;
    std::set<std::string> due_;
    std::chrono::steady_clock::time_point deadline_{};
    bool initialized_ = false;
    bool shutdown_ = false;
    std::optional<int> exitStatus_;
};

// Serves in and out with a server of these options; its exit status.
int RunLanguageServer(std::istream& in, std::ostream& out, const TLanguageServerOptions& options);

} // namespace korvo::servers::lsp
