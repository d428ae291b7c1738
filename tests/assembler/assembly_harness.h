#pragma once

#include "assembler/driver.h"
#include "common/assembly_sink.h"
#include "common/log.h"
#include "common/settings.h"
#include "scratch_folder.h"

#include <memory>
#include <string>
#include <vector>

namespace korvo::test {

// "prog.psm" in the scratch folder shared by the whole test run.
std::string ScratchSourceName();

// One assembly run through the driver, with everything it left behind.
struct TAssembly {
    explicit TAssembly(TCoreKind core = TCoreKind::pbt3) : Image(core) {}

    // Without a file name the source lives in a scratch directory of the
    // test run, so output files that directives name land there.
    bool Run(const std::vector<std::string>& lines, const std::string& fileName = "") {
        Log.Lines.clear();
        Listing.clear();
        Diagnostics.clear();
        TAssemblyContext context{Parser, &Image, Log, Settings, nullptr};
        Result = AssembleSource(context, fileName.empty() ? ScratchSourceName() : fileName, lines,
                                Listing, &Diagnostics);
        return Result;
    }

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

void WriteTestFile(const std::string& path, const std::string& bytes);

} // namespace korvo::test
