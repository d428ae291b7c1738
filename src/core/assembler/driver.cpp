#include "assembler/driver.h"

#include "common/text_file.h"
#include "simulator/debugger.h"

namespace korvo {

namespace {

// The text before the first "|" (with its "?") and the text after it; the
// whole text both times when there is no "|".
struct TResultParts {
    std::string ListingText;
    std::string LogText;
};

TResultParts SplitResult(const std::string& text) {
    auto bar = text.find('|');
    if (bar == std::string::npos) return {text, text};
    return {text.substr(0, bar), text.substr(bar + 1)};
}

class TAssemblyRun {
public:
    TAssemblyRun(TAssemblyContext& context, const std::string& fileName,
                 const std::vector<std::string>& lines, std::vector<std::string>& listingLines,
                 std::vector<TAssemblyDiagnostic>* diagnostics)
        : context_(context), parser_(context.Parser), simulator_(*context.Simulator),
          log_(context.Log), fileName_(fileName), lines_(lines), listing_(listingLines),
          diagnostics_(diagnostics) {}

    bool Run() {
        parser_.SetSourceDirectory(DirectoryPart(fileName_));
        TLogUpdateGuard update(log_);
        struct TLogDetach {
            TSynPicoBlaze& Parser;
            ~TLogDetach() { Parser.SetLog(nullptr); }
        } detach{parser_};
        parser_.SetLog(&log_);

        parser_.SelectCore(simulator_.CoreKind());
        log_.AddLogLine("Assembler Phase 1: building symbol table");
        parser_.BeginPasses(simulator_);
        if (!Phase1() || !IncludedFiles()) return false;
        if (!Phase2()) return false;
        Phase3();
        return true;
    }

private:
    void LineError(int index, const std::string& text) {
        TResultParts parts = SplitResult(text);
        listing_.push_back(parts.ListingText);
        log_.AddLogLine("Line " + std::to_string(index + 1) + ": " + parts.LogText);
        if (diagnostics_) diagnostics_->push_back(DiagnosticOf(fileName_, index + 1, text));
    }

    bool Phase1() {
        listing_.reserve(listing_.size() + lines_.size());
        bool good = true;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            int index = static_cast<int>(i);
            std::string text = parser_.ParsePass1(lines_[i], index, simulator_);
            if (!text.empty() && text.front() == '?') {
                LineError(index, text);
                good = false;
            } else {
                listing_.emplace_back();
            }
        }
        return good;
    }

    // Included lines only define names and take part in the directives of
    // pass 1; they produce no code. The list may grow while it is read, when
    // an included file includes another.
    bool IncludedFiles() {
        bool good = true;
        const auto& files = parser_.Directives().IncludeFiles;
        for (std::size_t f = 0; f < files.size(); ++f) {
            std::string name = files[f];
            std::vector<std::string> included = ReadTextLines(name);
            for (std::size_t j = 0; j < included.size(); ++j) {
                int index = static_cast<int>(j);
                std::string text = parser_.ParsePass1(included[j], index, simulator_);
                if (!text.empty() && text.front() == '?') {
                    log_.AddLogLine("?Include file:'" + name + "', line " +
                                    std::to_string(index + 1) + ": " + text);
                    if (diagnostics_) diagnostics_->push_back(DiagnosticOf(name, index + 1, text));
                    good = false;
                }
            }
        }
        return good;
    }

    bool Phase2() {
        log_.AddLogLine("Assembler Phase 2: constructing opcodes");
        for (int address = 0; address < simulator_.CodeSize(); ++address)
            simulator_.SetCodeEntry(address, TCodeEntry{});
        listing_.clear();
        listing_.reserve(lines_.size());
        bool good = true;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            int index = static_cast<int>(i);
            TPass2Result result = parser_.ParsePass2(lines_[i], index, simulator_);
            if (result.Error) {
                LineError(index, result.Text);
                good = false;
            } else {
                listing_.push_back(std::move(result.Text));
            }
        }
        return good;
    }

    void Phase3() {
        log_.AddLogLine("Assembler Phase 3: building simulation objects");
        TMemMap portMap = parser_.ParsePass3();
        for (int port = 0; port < kPortCount; ++port)
            simulator_.SetPortItem(port, portMap[port]);
        if (context_.WriteOutput)
            WriteOutputFiles(OutputJob(),
                             TOutputEnvironment{log_, context_.Settings, context_.Launcher});
    }

    TOutputJob OutputJob() const {
        const TDirectiveState& directives = parser_.Directives();
        TOutputJob job;
        job.CoreKind = simulator_.CoreKind();
        job.Words.resize(static_cast<std::size_t>(simulator_.CodeSize()));
        for (int address = 0; address < simulator_.CodeSize(); ++address) {
            TCodeEntry entry;
            simulator_.GetCodeEntry(address, entry);
            job.Words[static_cast<std::size_t>(address)] = entry.Word;
        }
        job.CoeFileName = directives.CoeFileName;
        job.CoeWidth = directives.CoeWidth;
        job.MemFileName = directives.MemFileName;
        job.VhdlSkeleton = directives.VhdlSkeleton;
        job.VhdlTarget = directives.VhdlTarget;
        job.VhdlEntity = directives.VhdlEntity;
        job.HexFileName = directives.HexFileName;
        job.SvfFileName = directives.SvfFileName;
        job.ExecCommand = directives.ExecCommand;
        return job;
    }

    TAssemblyContext& context_;
    TSynPicoBlaze& parser_;
    TPicoBlazeDebugger& simulator_;
    ILog& log_;
    const std::string& fileName_;
    const std::vector<std::string>& lines_;
    std::vector<std::string>& listing_;
    std::vector<TAssemblyDiagnostic>* diagnostics_;
};

std::optional<TCoreKind> FindOtherCore(const TAssemblyContext& failed, const std::string& fileName,
                                       const std::vector<std::string>& lines) {
    for (int number = 1; number <= 4; ++number) {
        TCoreKind core = *CoreKindFromNumber(number);
        if (core == failed.Simulator->CoreKind()) continue;
        TSynPicoBlaze parser;
        auto simulator = CreateDebugger(core);
        TNullLog log;
        TAssemblyContext trial{parser, simulator.get(), log, failed.Settings, nullptr};
        trial.WriteOutput = false;
        std::vector<std::string> listing;
        try {
            if (AssembleSource(trial, fileName, lines, listing)) return core;
        } catch (const std::exception&) {
            return std::nullopt; // an included file went missing meanwhile
        }
    }
    return std::nullopt;
}

} // namespace

std::string OtherCoreNote(TCoreKind core) {
    return "?This source assembles without errors for " +
           std::string(CoreTraits(core).ModeCaption) + ": select that core to use it";
}

TAssemblyDiagnostic DiagnosticOf(const std::string& fileName, int line,
                                 const std::string& resultText) {
    TAssemblyDiagnostic diagnostic;
    diagnostic.FileName = fileName;
    diagnostic.Line = line;
    std::string_view text = resultText;
    if (!text.empty() && text.front() == '?') text.remove_prefix(1);
    auto bar = text.find('|');
    if (bar != std::string_view::npos) {
        diagnostic.Kind = std::string(text.substr(0, bar));
        diagnostic.Message = std::string(text.substr(bar + 1));
    } else {
        auto start = text.find_first_not_of(' ');
        diagnostic.Message =
            start == std::string_view::npos ? std::string() : std::string(text.substr(start));
    }
    return diagnostic;
}

bool AssembleSource(TAssemblyContext& context, const std::string& fileName,
                    const std::vector<std::string>& lines, std::vector<std::string>& listingLines,
                    std::vector<TAssemblyDiagnostic>* diagnostics) {
    if (!context.Simulator) return false;
    context.OtherCore.reset();
    if (TAssemblyRun(context, fileName, lines, listingLines, diagnostics).Run()) return true;
    if (context.SuggestOtherCore) {
        context.OtherCore = FindOtherCore(context, fileName, lines);
        if (context.OtherCore) context.Log.AddLogLine(OtherCoreNote(*context.OtherCore));
    }
    return false;
}

} // namespace korvo
