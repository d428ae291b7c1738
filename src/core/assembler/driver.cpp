#include "assembler/driver.h"

#include "assembler/instruction_set.h"
#include "common/assembly_sink.h"
#include "common/text_file.h"

#include <map>

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

bool IsErrorText(const std::string& text) {
    return !text.empty() && text.front() == '?';
}

enum class TPass { One, Two };

// The result of one line in a pass, before its included files are read.
struct TLineResult {
    std::string Text;
    bool Error = false;
    std::string Subject;
    TErrorWord Word;
};

class TAssemblyRun {
public:
    TAssemblyRun(TAssemblyContext& context, const std::string& fileName,
                 const std::vector<std::string>& lines, std::vector<std::string>& listingLines,
                 std::vector<TAssemblyDiagnostic>* diagnostics)
        : context_(context), parser_(context.Parser), sink_(*context.Sink), log_(context.Log),
          fileName_(fileName), lines_(lines), listing_(listingLines), diagnostics_(diagnostics) {}

    bool Run() {
        outputFailed_ = false;
        parser_.SetSourceDirectory(DirectoryPart(fileName_));
        TLogUpdateGuard update(log_);
        struct TLogDetach {
            TSynPicoBlaze& Parser;
            ~TLogDetach() { Parser.SetLog(nullptr); }
        } detach{parser_};
        parser_.SetLog(&log_);

        parser_.SelectCore(sink_.CoreKind());
        log_.Message("Assembler Phase 1: building symbol table");
        parser_.BeginPasses(sink_);
        if (!Phase1()) return false;
        if (!Phase2()) return false;
        FillUnusedWords();
        return Phase3();
    }

    // The passes succeeded and only the output files failed.
    bool OutputFailed() const { return outputFailed_; }

private:
    std::string_view SourceLine(std::size_t index) const {
        std::string_view line = lines_[index];
        return index == 0 ? WithoutByteOrderMark(line) : line;
    }

    TLineResult ParseLine(TPass pass, std::string_view line, int index) {
        TLineResult result;
        if (pass == TPass::One) {
            result.Text = parser_.ParsePass1(line, index, sink_);
            result.Error = IsErrorText(result.Text);
        } else {
            TPass2Result pass2 = parser_.ParsePass2(line, index, sink_);
            result.Text = std::move(pass2.Text);
            result.Error = pass2.Error;
        }
        if (result.Error) {
            result.Subject = parser_.ErrorSubject();
            result.Word = parser_.ErrorWord();
        } else if (std::string failure = IncludeNamedFiles(pass); !failure.empty()) {
            result = TLineResult{std::move(failure), true, {}, {}};
        }
        return result;
    }

    void LineError(int index, const TLineResult& result) {
        TResultParts parts = SplitResult(result.Text);
        listing_.push_back(parts.ListingText);
        log_.AddLine(TLogSeverity::SourceError,
                     "Line " + std::to_string(index + 1) + ": " + parts.LogText);
        AddDiagnostic(fileName_, index, result);
    }

    void AddDiagnostic(const std::string& fileName, int index, const TLineResult& result) {
        if (!diagnostics_) return;
        diagnostics_->push_back(DiagnosticOf(fileName, index + 1, result.Text));
        diagnostics_->back().Subject = result.Subject;
        diagnostics_->back().Word = result.Word;
    }

    // Starts a pass over the source: no file read yet, the source open.
    void BeginPass() {
        openFiles_.clear();
        readFiles_.clear();
        if (!fileName_.empty()) openFiles_.push_back(fileName_);
        includedFilesFailed_ = false;
    }

    // Reads the files the line just parsed named; the error of the line
    // when one of them cannot be read or is already open, else empty.
    std::string IncludeNamedFiles(TPass pass) {
        for (const std::string& name : parser_.TakeIncludedFiles())
            if (std::string failure = IncludeFile(pass, name); !failure.empty()) return failure;
        return {};
    }

    std::string IncludeFile(TPass pass, const std::string& name) {
        for (const std::string& open : openFiles_)
            if (SameFile(open, name))
                return "?Include|\"" + name + "\" includes itself through the files it includes";
        for (const std::string& read : readFiles_)
            if (SameFile(read, name)) return {};
        const std::vector<std::string>* lines = IncludedLines(name);
        if (!lines) return "?Include|" + readFailure_;
        readFiles_.push_back(name);
        openFiles_.push_back(name);
        struct TIncludedFile {
            TSynPicoBlaze& Parser;
            std::string SourceDirectory;
            std::vector<std::string>& OpenFiles;
            ~TIncludedFile() {
                Parser.LeaveIncludedFile(std::move(SourceDirectory));
                OpenFiles.pop_back();
            }
        } included{parser_, parser_.EnterIncludedFile(name), openFiles_};
        for (std::size_t j = 0; j < lines->size(); ++j) {
            int index = static_cast<int>(j);
            TLineResult result = ParseLine(pass, (*lines)[j], index);
            if (!result.Error) continue;
            log_.AddLine(TLogSeverity::Error, "?Include file:'" + name + "', line " +
                                                  std::to_string(index + 1) + ": " + result.Text);
            AddDiagnostic(name, index, result);
            includedFilesFailed_ = true;
        }
        return {};
    }

    // The lines of an included file, read once per run; null when it
    // cannot be read (readFailure_ says why).
    const std::vector<std::string>* IncludedLines(const std::string& name) {
        auto found = includedLines_.find(name);
        if (found != includedLines_.end()) return &found->second;
        try {
            return &includedLines_.emplace(name, ReadTextLines(name)).first->second;
        } catch (const EFileError& failure) {
            readFailure_ = failure.what();
            return nullptr;
        }
    }

    bool Phase1() {
        BeginPass();
        listing_.reserve(listing_.size() + lines_.size());
        bool good = true;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            int index = static_cast<int>(i);
            TLineResult result = ParseLine(TPass::One, SourceLine(i), index);
            if (result.Error) {
                LineError(index, result);
                good = false;
            } else {
                listing_.emplace_back();
            }
        }
        return good && !includedFilesFailed_;
    }

    bool Phase2() {
        log_.Message("Assembler Phase 2: constructing opcodes");
        for (int address = 0; address < sink_.CodeSize(); ++address)
            sink_.SetCodeEntry(address, TCodeEntry{});
        BeginPass();
        listing_.clear();
        listing_.reserve(lines_.size());
        bool good = true;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            int index = static_cast<int>(i);
            TLineResult result = ParseLine(TPass::Two, SourceLine(i), index);
            if (result.Error) {
                LineError(index, result);
                good = false;
            } else {
                listing_.push_back(std::move(result.Text));
            }
        }
        return good && !includedFilesFailed_;
    }

    // DEFJUMP: the words no instruction took become JUMPs to its address,
    // carrying the directive's line.
    void FillUnusedWords() {
        const TDirectiveState& directives = parser_.Directives();
        if (!directives.DefaultJump) return;
        TCodeEntry filler;
        filler.HasCode = true;
        filler.Word = CoreEncoding(sink_.CoreKind()).Opcodes[inJUMP] |
                      static_cast<std::uint32_t>(*directives.DefaultJump);
        filler.Line = directives.DefaultJumpLine;
        for (int address = 0; address < sink_.CodeSize(); ++address) {
            TCodeEntry entry;
            sink_.GetCodeEntry(address, entry);
            if (!entry.HasCode) sink_.SetCodeEntry(address, filler);
        }
    }

    bool Phase3() {
        log_.Message("Assembler Phase 3: building simulation objects");
        TMemMap portMap = parser_.ParsePass3();
        for (int port = 0; port < kPortCount; ++port)
            sink_.SetPortItem(port, portMap[port]);
        if (!context_.WriteOutput) return true;
        outputFailed_ = !WriteOutputFiles(
            OutputJob(), TOutputEnvironment{log_, context_.Settings, context_.Launcher});
        return !outputFailed_;
    }

    TOutputJob OutputJob() const {
        const TDirectiveState& directives = parser_.Directives();
        TOutputJob job;
        job.CoreKind = sink_.CoreKind();
        job.CodeSize = sink_.CodeSize();
        job.Words.resize(static_cast<std::size_t>(sink_.CodeSize()));
        for (int address = 0; address < sink_.CodeSize(); ++address) {
            TCodeEntry entry;
            sink_.GetCodeEntry(address, entry);
            job.Words[static_cast<std::size_t>(address)] = entry.Word;
        }
        static_cast<TOutputRequests&>(job) = directives;
        job.SourceFileName = fileName_;
        job.IncludedFiles = directives.IncludeFiles;
        return job;
    }

    TAssemblyContext& context_;
    TSynPicoBlaze& parser_;
    IAssemblySink& sink_;
    ILog& log_;
    const std::string& fileName_;
    const std::vector<std::string>& lines_;
    std::vector<std::string>& listing_;
    std::vector<TAssemblyDiagnostic>* diagnostics_;
    // The files whose lines are being parsed, the source first.
    std::vector<std::string> openFiles_;
    // The files included in this pass.
    std::vector<std::string> readFiles_;
    std::map<std::string, std::vector<std::string>> includedLines_;
    std::string readFailure_;
    bool includedFilesFailed_ = false;
    bool outputFailed_ = false;
};

std::optional<TCoreKind> FindOtherCore(const TAssemblyContext& failed, const std::string& fileName,
                                       const std::vector<std::string>& lines) {
    for (const auto& core : kCores) {
        if (core.Kind == failed.Sink->CoreKind()) continue;
        TSynPicoBlaze parser;
        TAssemblyImage scratch(core.Kind);
        TNullLog log;
        TAssemblyContext trial{parser, &scratch, log, failed.Settings, nullptr};
        trial.WriteOutput = false;
        std::vector<std::string> listing;
        if (AssembleSource(trial, fileName, lines, listing)) return core.Kind;
    }
    return std::nullopt;
}

} // namespace

std::string OtherCoreNote(TCoreKind core) {
    return "?This source assembles without errors for " +
           std::string(CoreDescription(core).ModeCaption) + ": select that core to use it";
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
    if (!context.Sink) return false;
    context.OtherCore.reset();
    TAssemblyRun run(context, fileName, lines, listingLines, diagnostics);
    if (run.Run()) return true;
    if (context.SuggestOtherCore && !run.OutputFailed()) {
        context.OtherCore = FindOtherCore(context, fileName, lines);
        if (context.OtherCore)
            context.Log.AddLine(TLogSeverity::Error, OtherCoreNote(*context.OtherCore));
    }
    return false;
}

} // namespace korvo
