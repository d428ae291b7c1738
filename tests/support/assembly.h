#pragma once

#include "assembler/driver.h"
#include "assembler/syn_picoblaze.h"
#include "common/assembly_sink.h"
#include "common/log.h"
#include "common/settings.h"
#include "scratch_folder.h"

#include <string>
#include <vector>

namespace korvo::test {

// One assembly run through the driver into a code image, with everything it
// left behind. Without a file name the source is "prog.psm" in the scratch
// folder of the test run, so that the files directives name land there.
struct TAssembly {
    explicit TAssembly(TCoreKind core = TCoreKind::pbt3) : Image(core) {}
    // codeSize words of code space: a core built with less program memory.
    TAssembly(TCoreKind core, int codeSize) : Image(core, codeSize) {}

    bool Run(const std::vector<std::string>& lines, const std::string& fileName = "") {
        Log.Lines.clear();
        Listing.clear();
        Diagnostics.clear();
        TAssemblyContext context{Parser, &Image, Log, Settings, nullptr};
        Result = AssembleSource(context, fileName.empty() ? SourceName() : fileName, lines, Listing,
                                &Diagnostics);
        return Result;
    }
    static std::string SourceName() { return SharedScratchFolder().File("prog.psm"); }

    TCodeEntry Entry(int address) const { return Image.Entry(address); }
    const TMemMapItem& Port(int address) const { return Image.Ports()[address]; }

    TSynPicoBlaze Parser;
    TAssemblyImage Image;
    TStringListLog Log;
    TMemorySettingsStore Settings;
    std::vector<std::string> Listing;
    std::vector<TAssemblyDiagnostic> Diagnostics;
    bool Result = false;
};

} // namespace korvo::test
