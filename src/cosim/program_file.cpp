#include "cosim/program_file.h"

#include "assembler/driver.h"
#include "assembler/syn_picoblaze.h"
#include "common/log.h"
#include "common/settings.h"
#include "common/text_file.h"
#include "simulator/simulator.h"
#include "text/kcpsm_hex.h"

#include <stdexcept>

namespace korvo::cosim {

namespace {

bool IsSource(const std::string& path) {
    const std::size_t dot = path.find_last_of("./");
    if (dot == std::string::npos || path[dot] != '.') return false;
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension == "psm";
}

std::vector<std::uint32_t> AssembleProgram(TCoreKind core, const TCoreOptions& options,
                                           const std::string& path) {
    std::unique_ptr<TPicoBlazeSimulator> image = CreateSimulator(core);
    image->SetCoreOptions(options);
    TSynPicoBlaze parser;
    TStringListLog log;
    TMemorySettingsStore settings;
    TAssemblyContext context{parser, image.get(), log, settings, nullptr};
    context.WriteOutput = false;
    std::vector<std::string> listing;
    if (!AssembleSource(context, path, ReadTextLines(path), listing)) {
        std::string text = "\"" + path + "\" does not assemble:";
        for (const auto& line : log.Lines)
            text += "\n" + line;
        throw std::runtime_error(text);
    }
    std::vector<std::uint32_t> words(static_cast<std::size_t>(image->CodeSize()));
    for (int address = 0; address < image->CodeSize(); ++address) {
        TCodeEntry entry;
        image->GetCodeEntry(address, entry);
        words[static_cast<std::size_t>(address)] = entry.HasCode ? entry.Word : 0;
    }
    return words;
}

} // namespace

std::vector<std::uint32_t> ReadProgramFile(TCoreKind core, const TCoreOptions& options,
                                           const std::string& path) {
    if (IsSource(path)) return AssembleProgram(core, options, path);
    return ReadKcpsmWordsFile(path);
}

} // namespace korvo::cosim
