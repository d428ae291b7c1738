// The language server's message handling: each line of the input is the
// body of one framed message, after an initialize request; the server takes
// them in order and publishes the diagnostics that are due after each.
// Answers go to a string nobody reads; what counts is that no message makes
// it crash or hang.

#include "common/settings.h"
#include "fuzz_input.h"
#include "lsp/lsp_server.h"

#include <sstream>

using namespace korvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string framed;
    auto frame = [&](std::string_view body) {
        framed += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
        framed += body;
    };
    frame(R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{}})");
    std::string_view input = fuzz::Bytes(data, size);
    for (std::size_t start = 0; start <= input.size();) {
        std::size_t end = std::min(input.find('\n', start), input.size());
        frame(input.substr(start, end - start));
        start = end + 1;
    }
    std::istringstream in(framed);
    std::ostringstream out;
    TMemorySettingsStore settings;
    servers::lsp::TLanguageServer server(out, {settings, std::nullopt});
    servers::TMessageReader reader(in);
    for (;;) {
        servers::TReadResult result = reader.Read();
        if (result.Status == servers::TReadStatus::End || server.ExitStatus()) break;
        server.Take(result);
        server.PublishDue();
    }
    return 0;
}
