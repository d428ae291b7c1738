#include "shell/document/document_simulation.h"

#include "analysis/program_check.h"
#include "assembler/driver.h"
#include "common/log.h"
#include "common/settings_layout.h"
#include "shell/app/icons.h"
#include "shell/document/document.h"
#include "shell/document/document_file.h"
#include "shell/document/document_host.h"
#include "shell/document/heat_counter.h"
#include "shell/document/source_editor.h"
#include "simulator/simulation_session.h"
#include "simulator/simulator.h"
#include "simulator/status_strings.h"

#include <optional>

namespace korvo {

TDocumentSimulation::TDocumentSimulation(TDocument& document, IDocumentHost& host)
    : document_(document), host_(host) {}

TDocumentSimulation::~TDocumentSimulation() = default;

TSourceEditor* TDocumentSimulation::Text() const {
    return document_.TextControl();
}

void TDocumentSimulation::SetCoreKind(TCoreKind kind) {
    // The session still hears the simulator end, so that its peripherals
    // and the panels showing them go first.
    if (simulator_) {
        simulator_->Reset();
        simulator_->ClearCodeImage();
    }
    heat_.reset();
    session_.reset();
    simulator_.reset();
    if (IsCoreKind(kind)) simulator_ = CreateSimulator(kind);
}

TCoreKind TDocumentSimulation::CoreKind() const {
    return simulator_ ? simulator_->CoreKind() : kDefaultCoreKind;
}

bool TDocumentSimulation::Assemble(const QString& fileName, const std::vector<std::string>& lines,
                                   QStringList& listing) {
    std::vector<std::string> listed;
    std::vector<TAssemblyDiagnostic> diagnostics;
    bool assembled =
        simulator_ && host_.AssembleDocument(fileName, lines, listed, diagnostics, *simulator_);
    ShowErrorMarks(diagnostics, FileSystemName(fileName));
    for (const auto& entry : listed)
        listing << QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size()));
    return assembled;
}

void TDocumentSimulation::Start(const QString& fileName, const std::vector<std::string>& lines) {
    ShowCheckFindings(fileName, lines);
    // The old session first: it detaches its handlers from the simulator
    // when it goes, which must not happen after the new one attached its own.
    heat_.reset();
    session_.reset();
    session_ = std::make_unique<TSimulationSession>(*simulator_, host_.Log(), &host_.Settings());
    // Step Back and Run Back go back over what the run did.
    session_->SetRecording(true);
    simulator_->SetLog(&host_.Log());
    std::weak_ptr<TDocument> alive = document_.weak_from_this();
    simulator_->OnCurrentLineChange = [this, alive](TSimulator&) {
        if (alive.lock()) ShowSimulationState();
    };
    simulator_->OnBreakpointChange = [this, alive](TSimulator&, int line) {
        if (alive.lock()) RefreshLine(line);
    };
    host_.SimulationStarted(document_);
    ForgetLineMarks();
    simulator_->Start();
    RefreshLine(0);
    ShowHeat();
}

void TDocumentSimulation::Stop(bool forget) {
    if (simulator_) simulator_->ClearCodeImage();
    if (forget) session_.reset();
    ShowHeat();
}

void TDocumentSimulation::ShowSimulationState() {
    if (!simulator_) return;
    SetCurrentLine(simulator_->CurrentLine());
    UpdateStatusStrings();
    if (simulator_->ShowsCurrentLine()) RefreshAllLineMarks();
    // A reset in a run starts the counts again before the run goes on.
    if (heat_) heat_->FollowReset();
    if (!simulator_->IsRunning()) ShowHeat();
}

void TDocumentSimulation::RefreshRunStatus() {
    if (!simulator_ || document_.Mode() != dmSimulate) return;
    UpdateStatusStrings();
    RefreshAllLineMarks();
}

void TDocumentSimulation::UpdateStatusStrings() {
    TStatusStrings texts = MakeStatusStrings(
        *simulator_, session_ ? session_->FrequencyMHz() : settings::kDefaultClockFrequency);
    status_ = QStringList{
        QString::fromStdString(texts.Instructions), QString::fromStdString(texts.Time),
        QString::fromStdString(texts.ProgramCounter), QString::fromStdString(texts.StackPointer),
        QString::fromStdString(texts.Stack)};
}

void TDocumentSimulation::SetCurrentLine(int line) {
    auto* text = Text();
    int previous = currentLine_;
    currentLine_ = std::max(0, line);
    if (!text) return;
    if (previous > 0 && previous != currentLine_) RefreshLine(previous);
    if (currentLine_ > 0) {
        if (document_.GetCaretPos().Line != currentLine_) text->MoveCaret(currentLine_, 1);
        RefreshLine(currentLine_);
    }
}

// ---- Gutter marks ----

void TDocumentSimulation::RefreshLine(int line) {
    auto* text = Text();
    if (!text) return;
    if (line >= 1 && line <= text->lines()) {
        PaintLineMarks(line, MarksOfLine(line));
        return;
    }
    RefreshAllLineMarks();
}

int TDocumentSimulation::MarksOfLine(int line) const {
    int info = simulator_ ? simulator_->LineInfo(line) & ~liCurrent : 0;
    bool shown = !simulator_ || simulator_->ShowsCurrentLine();
    if (line == currentLine_ && shown) info |= liCurrent;
    return info;
}

void TDocumentSimulation::RefreshAllLineMarks() {
    auto* text = Text();
    if (!text) return;
    int lineCount = text->lines();
    // One pass over the code image: a line's marks come from the lowest
    // address that carries it, as LineInfo takes them.
    std::vector<int> marks(static_cast<std::size_t>(lineCount) + 1, 0);
    if (simulator_ && simulator_->IsActive()) {
        std::vector<bool> seen(marks.size(), false);
        for (int address = 0; address < simulator_->CodeSize(); ++address) {
            int line = simulator_->AddressToLine(address);
            if (line < 1 || line > lineCount || seen[line]) continue;
            seen[line] = true;
            int info = 0;
            if (simulator_->HasCode(address)) info |= liCode;
            if (simulator_->IsExecuted(address)) info |= liExecuted;
            if (simulator_->IsBreakpoint(address)) info |= liBreakpoint;
            marks[line] = info;
        }
        if (currentLine_ >= 1 && currentLine_ <= lineCount && simulator_->ShowsCurrentLine())
            marks[currentLine_] |= liCurrent;
    }
    for (int line = 1; line <= lineCount; ++line)
        PaintLineMarks(line, marks[line]);
}

void TDocumentSimulation::RepaintLineMarks() {
    ForgetLineMarks();
    RefreshAllLineMarks();
    ShowHeat();
}

void TDocumentSimulation::ForgetLineMarks() {
    shownMarks_.clear();
    if (auto* text = Text()) text->ClearLineMarks();
}

void TDocumentSimulation::ShowHeat() {
    auto* text = Text();
    if (!heatShown_ || !simulator_ || !simulator_->IsActive() || document_.Mode() != dmSimulate) {
        heat_.reset();
        if (text) text->SetHeat({});
        return;
    }
    if (!heat_) heat_ = std::make_unique<THeatCounter>(*simulator_);
    if (text && !simulator_->IsRunning()) text->SetHeat(heat_->LineCounts(text->lines()));
}

void TDocumentSimulation::PaintLineMarks(int line, int info) {
    auto* text = Text();
    if (!text || line < 1) return;
    // Only lines whose marks change are touched: a run's end and its yields
    // refresh every line.
    if (shownMarks_.size() <= static_cast<std::size_t>(line))
        shownMarks_.resize(static_cast<std::size_t>(line) + 1, 0);
    // The coverage view is part of what a line shows.
    constexpr int kCoverageShown = 0x100;
    if (shownMarks_[line] == (info | (coverageShown_ ? kCoverageShown : 0))) return;
    shownMarks_[line] = info | (coverageShown_ ? kCoverageShown : 0);
    text->SetCoverageMark(line - 1, coverageShown_ && (info & liCode)
                                        ? std::optional<bool>((info & liExecuted) != 0)
                                        : std::nullopt);
    bool current = info & liCurrent;
    bool breakpoint = info & liBreakpoint;
    std::optional<TLineGlyph> glyph;
    if (current)
        glyph = breakpoint ? TLineGlyph::CurrentBreakpoint : TLineGlyph::Current;
    else if (info & (liExecuted | liCode))
        glyph = breakpoint ? TLineGlyph::CodeBreakpoint
                           : (info & liExecuted ? TLineGlyph::Executed : TLineGlyph::Code);
    else if (breakpoint)
        glyph = TLineGlyph::Breakpoint;
    TLineColour colour = TLineColour::Normal;
    if (current)
        colour = TLineColour::Current;
    else if (breakpoint)
        colour = info & liCode ? TLineColour::Breakpoint : TLineColour::DeadBreakpoint;
    text->SetLineMarks(line - 1, glyph ? &*glyph : nullptr, colour);
}

// ---- The assembler's and the checker's messages ----

void TDocumentSimulation::ShowCheckFindings(const QString& fileName,
                                            const std::vector<std::string>& lines) {
    auto* text = Text();
    if (!text || !simulator_) return;
    TCheckRequest request;
    request.FileName = FileSystemName(fileName);
    request.Lines = lines;
    request.Core = simulator_->CoreKind();
    request.Options = simulator_->CoreOptions();
    request.ScratchPadSize =
        settings::ProgramScratchPadBytes(request.Core, request.Options, &host_.Settings());
    const TCheckResult result = CheckProgram(request, host_.Settings());
    // The assembler has logged what kept the program from assembling.
    if (!result.Assembled) return;
    ILog& log = host_.Log();
    for (const auto& finding : result.Diagnostics) {
        std::string kind = std::string(SeverityText(finding.Severity)) + ": ";
        TLogSeverity severity = TLogSeverity::Plain;
        switch (finding.Severity) {
        case TCheckSeverity::Error: severity = TLogSeverity::SourceError; break;
        case TCheckSeverity::Warning: severity = TLogSeverity::Warning; break;
        case TCheckSeverity::Note: severity = TLogSeverity::Note; break;
        }
        if (finding.FileName == request.FileName && finding.Line > 0) {
            text->AddCheckMark(finding.Line - 1, QString::fromStdString(finding.Message),
                               finding.Severity);
            // The form the log's double click follows to the line.
            log.AddLine(severity,
                        "Line " + std::to_string(finding.Line) + ": " + kind + finding.Message);
        } else if (finding.Line > 0) {
            // No line of this document to go to: the line stays plain.
            log.Message(finding.FileName + ":" + std::to_string(finding.Line) + ": " + kind +
                        finding.Message);
        } else {
            log.AddLine(severity == TLogSeverity::SourceError ? TLogSeverity::Plain : severity,
                        kind + finding.Message);
        }
    }
    if (int errors = result.Errors(), warnings = result.Warnings(); errors + warnings > 0)
        log.Message("Check: " + std::to_string(errors) + (errors == 1 ? " error, " : " errors, ") +
                    std::to_string(warnings) + (warnings == 1 ? " warning" : " warnings"));
}

void TDocumentSimulation::ShowErrorMarks(const std::vector<TAssemblyDiagnostic>& diagnostics,
                                         const std::string& assembledName) {
    auto* text = Text();
    if (!text) return;
    text->ClearErrorMarks();
    for (const auto& diagnostic : diagnostics)
        if (diagnostic.FileName == assembledName)
            text->SetErrorMark(diagnostic.Line - 1, QString::fromStdString(diagnostic.Message));
}

} // namespace korvo
