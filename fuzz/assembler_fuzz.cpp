// A whole source through the assembler driver, as the IDE's Simulate and
// `korvo asm` run it: the first byte picks the core, the rest is the source. One parser serves
// every run, as in the IDE; the driver clears the code image it fills. The output files and the
// EXEC command are left out; INCL and BROM files are read from a private folder.

#include "assembler/driver.h"
#include "common/assembly_sink.h"
#include "fuzz_input.h"

using namespace korvo;

namespace {

const std::filesystem::path& Folder() {
    return fuzz::PrivateFolder({
        {"defs.psm", "; shared names\nshared_value EQU $42\nshared_reg   EQU s7\n"
                     "shared_port  DSIN $F0\n"},
        {"self.psm", "INCL \"self.psm\"\n"},
        {"sub/loop.psm", "INCL \"../defs.psm\"\nback:\tJUMP back\n"},
        {"bram.mem", "@0000 01 02 03\n@0010 FF\n"},
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const std::string source = (Folder() / "prog.psm").string();
    const std::vector<std::string> lines = fuzz::SourceLines(fuzz::Bytes(data + 1, size - 1));
    static TSynPicoBlaze parser;
    static TAssemblyImage images[] = {
        TAssemblyImage(fuzz::kFuzzCores[0]), TAssemblyImage(fuzz::kFuzzCores[1]),
        TAssemblyImage(fuzz::kFuzzCores[2]), TAssemblyImage(fuzz::kFuzzCores[3]),
        TAssemblyImage(fuzz::kFuzzCores[4])};
    TAssemblyImage& image = images[data[0] % std::size(images)];
    TNullLog log;
    TMemorySettingsStore settings;
    TAssemblyContext context{parser, &image, log, settings, nullptr};
    context.WriteOutput = false;
    std::vector<std::string> listing;
    std::vector<TAssemblyDiagnostic> diagnostics;
    const bool assembled = AssembleSource(context, source, lines, listing, &diagnostics);
    // Every line has its listing entry; a failure names its errors.
    fuzz::Require(listing.size() == lines.size());
    fuzz::Require(assembled == diagnostics.empty());
    return 0;
}
