// A whole source through korvo check: the first byte picks the core, the
// rest is the source, with its ;@targets and ;@loop comments; the cycles are
// counted between two labels when it has them. Nothing it finds may abort
// it, and an assembled program's stack never exceeds what the summary says.

#include "analysis/program_check.h"
#include "common/settings.h"
#include "fuzz_input.h"

using namespace korvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    TCheckRequest request;
    request.FileName = "check.psm";
    request.Core = fuzz::kFuzzCores[data[0] % std::size(fuzz::kFuzzCores)];
    request.Options = DefaultCoreOptions(request.Core);
    request.ScratchPadSize = data[0] & 0x80 ? 256 : 64;
    request.Cycles = std::pair<std::string, std::string>("start", "done");
    request.Lines = fuzz::SourceLines(fuzz::Bytes(data + 1, size - 1));
    TMemorySettingsStore settings;
    const TCheckResult result = CheckProgram(request, settings);
    fuzz::Require(result.Assembled || result.Errors() > 0);
    if (result.Cycles && result.Cycles->Min >= 0 && result.Cycles->Max >= 0)
        fuzz::Require(result.Cycles->Min <= result.Cycles->Max);
    return 0;
}
