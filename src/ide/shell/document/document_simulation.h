#pragma once

#include "shell/document/document_interfaces.h"

#include <QStringList>
#include <memory>
#include <string>
#include <vector>

namespace korvo {

class IDocumentHost;
class TDocument;
class THeatCounter;
class TPicoBlazeSimulator;
class TSimulationSession;
class TSourceEditor;
struct TAssemblyDiagnostic;

// The simulation side of a document: the simulator for its core, the
// assembly of its text, the session of the assembled program, the current
// line, the marks of the gutter (breakpoints, executed lines, coverage and
// heat) and the status texts of a simulation.
class TDocumentSimulation {
public:
    TDocumentSimulation(TDocument& document, IDocumentHost& host);
    ~TDocumentSimulation();
    TDocumentSimulation(const TDocumentSimulation&) = delete;
    TDocumentSimulation& operator=(const TDocumentSimulation&) = delete;

    TPicoBlazeSimulator* Simulator() const { return simulator_.get(); }
    TSimulationSession* Session() const { return session_.get(); }
    // A new simulator for the core; none for a kind that is no core.
    void SetCoreKind(TCoreKind kind);
    TCoreKind CoreKind() const;

    // Assembles the lines of the file; the listing, and the assembler's
    // messages on the lines of the text. True when the program assembled.
    bool Assemble(const QString& fileName, const std::vector<std::string>& lines,
                  QStringList& listing);
    // Starts the simulation of the program just assembled, after the
    // checker's findings went to their lines and to the log.
    void Start(const QString& fileName, const std::vector<std::string>& lines);
    // Ends a simulation still going; the session goes when forget is set.
    void Stop(bool forget);

    // Status bar panels 3 to 7 of Simulate mode (index 0 to 4).
    QString StatusText(int index) const { return status_.value(index); }
    int CurrentLine() const { return currentLine_; }
    void SetCurrentLine(int line);
    // Repaints one line (from 1), or the whole text outside 1 .. line count.
    void RefreshLine(int line);
    // During a run: the status texts and the marks of the lines executed so
    // far; the current line stays unmarked until the run ends.
    void RefreshRunStatus();
    // Paints every mark again (after the coverage or heat view changed).
    void RepaintLineMarks();

    // View ▸ Coverage and View ▸ Heat, for every document.
    static void SetCoverageShown(bool shown) { coverageShown_ = shown; }
    static bool CoverageShown() { return coverageShown_; }
    static void SetHeatShown(bool shown) { heatShown_ = shown; }
    static bool HeatShown() { return heatShown_; }

private:
    TSourceEditor* Text() const;
    void ShowCheckFindings(const QString& fileName, const std::vector<std::string>& lines);
    void ShowErrorMarks(const std::vector<TAssemblyDiagnostic>& diagnostics,
                        const std::string& assembledName);
    void ShowSimulationState();
    void UpdateStatusStrings();
    // The TLineInfo marks of a line as the document shows them: no line is
    // current during a run.
    int MarksOfLine(int line) const;
    void RefreshAllLineMarks();
    // Gutter glyph and colours of one line (from 1) for its marks.
    void PaintLineMarks(int line, int info);
    // Clears every mark and what is known about them.
    void ForgetLineMarks();
    // Counts while the heat view is shown in Simulate mode, and paints the
    // counts unless a run goes on.
    void ShowHeat();

    TDocument& document_;
    IDocumentHost& host_;
    int currentLine_ = 0;
    std::unique_ptr<TPicoBlazeSimulator> simulator_;
    // Declared after the simulator: it detaches from it when destroyed.
    std::unique_ptr<TSimulationSession> session_;
    // Declared after the simulator: it stops counting into it when destroyed.
    std::unique_ptr<THeatCounter> heat_;
    QStringList status_;
    // The marks each line (index from 1) shows in the gutter.
    std::vector<int> shownMarks_;
    static inline bool coverageShown_ = false;
    static inline bool heatShown_ = false;
};

} // namespace korvo
