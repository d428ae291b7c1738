#include "lsp/lsp_server.h"

#include "lsp/lsp_service.h"
#include "protocol/message_queue.h"
#include "protocol/message_stream.h"

#include <QJsonArray>

#include <exception>
#include <functional>
#include <map>
#include <set>

namespace korvo::servers::lsp {

namespace {

// JSON-RPC and protocol error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kInternalError = -32603;
constexpr int kServerNotInitialized = -32002;

// TextDocumentSyncKind.Incremental
constexpr int kIncrementalSync = 2;

QJsonObject Capabilities() {
    return {
        {"textDocumentSync",
         QJsonObject{{"openClose", true}, {"change", kIncrementalSync}, {"save", true}}},
        {"definitionProvider", true},
        {"referencesProvider", true},
        {"renameProvider", true},
        {"hoverProvider", true},
        {"completionProvider", QJsonObject{{"triggerCharacters", QJsonArray{}}}},
        {"documentSymbolProvider", true},
        {"documentFormattingProvider", true},
    };
}

} // namespace

TLanguageServer::TLanguageServer(std::ostream& out, const TLanguageServerOptions& options)
    : writer_(out), service_(options.Settings, options.Core), debounce_(options.Debounce) {}

int TLanguageServer::Run(std::istream& in) {
    TMessageQueue queue(in);
    while (!exitStatus_) {
        auto result = queue.WaitFor(WaitTime());
        if (!result) {
            PublishDue();
            continue;
        }
        if (result->Status == TReadStatus::End) return shutdown_ ? 0 : 1;
        Take(*result);
    }
    return *exitStatus_;
}

void TLanguageServer::Take(const TReadResult& result) {
    switch (result.Status) {
    case TReadStatus::End: break;
    case TReadStatus::Malformed: Error(QJsonValue::Null, kParseError, result.Error); break;
    case TReadStatus::Message: Handle(result.Message); break;
    }
}

std::chrono::milliseconds TLanguageServer::WaitTime() const {
    if (due_.empty()) return std::chrono::hours(24);
    auto left = deadline_ - std::chrono::steady_clock::now();
    return std::max(std::chrono::duration_cast<std::chrono::milliseconds>(left),
                    std::chrono::milliseconds(0));
}

void TLanguageServer::Schedule(const std::string& uri) {
    due_.insert(uri);
    deadline_ = std::chrono::steady_clock::now() + debounce_;
}

void TLanguageServer::ScheduleAll() {
    for (const auto& [uri, document] : service_.Documents().Documents())
        Schedule(uri);
}

void TLanguageServer::PublishDue() {
    std::set<std::string> due;
    due.swap(due_);
    for (const std::string& uri : due)
        Publish(service_.Diagnose(uri));
    for (const std::string& uri : due)
        service_.Prepare(uri);
}

void TLanguageServer::Publish(const std::vector<TPublishedDiagnostics>& published) {
    for (const TPublishedDiagnostics& file : published)
        writer_.Write(QJsonObject{{"jsonrpc", "2.0"},
                                  {"method", "textDocument/publishDiagnostics"},
                                  {"params", QJsonObject{{"uri", QString::fromStdString(file.Uri)},
                                                         {"diagnostics", file.Diagnostics}}}});
}

void TLanguageServer::Error(const QJsonValue& id, int code, const std::string& message) {
    writer_.Write(QJsonObject{
        {"jsonrpc", "2.0"},
        {"id", id},
        {"error", QJsonObject{{"code", code}, {"message", QString::fromStdString(message)}}}});
}

void TLanguageServer::Handle(const QJsonObject& message) {
    QJsonValue id = message.value("id");
    bool isRequest = message.contains("id");
    if (isRequest && !id.isString() && !id.isDouble()) {
        Error(QJsonValue::Null, kInvalidRequest, "the id must be a number or a string");
        return;
    }
    if (!message.value("method").isString()) {
        // A response to a request of ours (there are none) is let go.
        if (!isRequest || (!message.contains("result") && !message.contains("error")))
            Error(isRequest ? id : QJsonValue::Null, kInvalidRequest, "no method");
        return;
    }
    std::string method = message.value("method").toString().toStdString();
    QJsonValue params = message.value("params");
    if (!params.isUndefined() && !params.isObject() && !params.isArray()) {
        if (isRequest) Error(id, kInvalidParams, "params must be an object");
        return;
    }
    try {
        if (isRequest)
            Request(id, method, params.toObject());
        else
            Notification(method, params.toObject());
    } catch (const EInvalidParams& invalid) {
        if (isRequest) Error(id, kInvalidParams, invalid.Message);
    } catch (const std::exception& fault) {
        if (isRequest) Error(id, kInternalError, fault.what());
    }
}

void TLanguageServer::Request(const QJsonValue& id, const std::string& method,
                              const QJsonObject& params) {
    if (method == "initialize") {
        if (initialized_) return Error(id, kInvalidRequest, "initialize was sent before");
        SetClientCore(params.value("initializationOptions").toObject().value("core"));
        initialized_ = true;
        return Reply(id, QJsonObject{{"capabilities", Capabilities()},
                                     {"serverInfo", QJsonObject{{"name", "korvo"}}}});
    }
    if (!initialized_) return Error(id, kServerNotInitialized, "initialize first");
    if (shutdown_) return Error(id, kInvalidRequest, "the server is shutting down");
    if (method == "shutdown") {
        shutdown_ = true;
        return Reply(id, QJsonValue::Null);
    }
    using THandler = QJsonValue (TLanguageService::*)(const QJsonObject&);
    static const std::map<std::string, THandler> handlers{
        {"textDocument/definition", &TLanguageService::Definition},
        {"textDocument/references", &TLanguageService::References},
        {"textDocument/rename", &TLanguageService::Rename},
        {"textDocument/hover", &TLanguageService::Hover},
        {"textDocument/completion", &TLanguageService::Completion},
        {"textDocument/documentSymbol", &TLanguageService::DocumentSymbols},
        {"textDocument/formatting", &TLanguageService::Formatting},
    };
    auto handler = handlers.find(method);
    if (handler == handlers.end()) return Error(id, kMethodNotFound, "unknown method " + method);
    Reply(id, (service_.*handler->second)(params));
}

void TLanguageServer::Reply(const QJsonValue& id, const QJsonValue& result) {
    writer_.Write(QJsonObject{{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
}

void TLanguageServer::Notification(const std::string& method, const QJsonObject& params) {
    if (method == "exit") {
        exitStatus_ = shutdown_ ? 0 : 1;
        return;
    }
    if (!initialized_ || shutdown_) return;
    QJsonObject textDocument = params.value("textDocument").toObject();
    std::string uri = textDocument.value("uri").toString().toStdString();
    int version = textDocument.value("version").toInt();
    if (method == "textDocument/didOpen") {
        if (!textDocument.value("uri").isString() || !textDocument.value("text").isString()) return;
        service_.Documents().Open(uri, version,
                                  textDocument.value("text").toString().toStdString());
        Schedule(uri);
    } else if (method == "textDocument/didChange") {
        if (!service_.Documents().Find(uri)) return;
        service_.Documents().Change(uri, version, params.value("contentChanges").toArray());
        Schedule(uri);
    } else if (method == "textDocument/didClose") {
        if (!service_.Documents().Find(uri)) return;
        service_.Documents().Close(uri);
        due_.erase(uri);
        Publish(service_.Forget(uri));
    } else if (method == "textDocument/didSave") {
        // Another document may include the file saved.
        ScheduleAll();
    } else if (method == "workspace/didChangeConfiguration") {
        QJsonObject korvo = params.value("settings").toObject().value("korvo").toObject();
        if (korvo.contains("core") && SetClientCore(korvo.value("core"))) ScheduleAll();
    }
}

bool TLanguageServer::SetClientCore(const QJsonValue& value) {
    try {
        service_.SetClientCore(CoreSetting(value));
        return true;
    } catch (const EInvalidParams& invalid) {
        writer_.Write(QJsonObject{
            {"jsonrpc", "2.0"},
            {"method", "window/showMessage"},
            {"params",
             QJsonObject{{"type", 2},
                         {"message", QString::fromStdString("korvo: " + invalid.Message)}}}});
        return false;
    }
}

int RunLanguageServer(std::istream& in, std::ostream& out, const TLanguageServerOptions& options) {
    return TLanguageServer(out, options).Run(in);
}

} // namespace korvo::servers::lsp
