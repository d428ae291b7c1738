#pragma once

#include "assembler/driver.h"
#include "shell/document/document_interfaces.h"

#include <QList>
#include <QString>
#include <string>
#include <vector>

class QAction;
class QWidget;

namespace korvo {

class ILog;
class ISettingsStore;
class IUserDialogs;
class TDocument;
class TPicoBlazeSimulator;
class TSynHighLighterIDE;
class TSynPicoBlaze;
struct TSearchState;

// A highlighter the program knows, with the file-dialog filter of its files.
struct TLexerEntry {
    TSynHighLighterIDE* Scanner = nullptr;
    QString Filter; // "Description|patterns"
};

// What a document needs from the rest of the program: the log, settings,
// dialogs, the shared untitled numbers and recent files, highlighters, the
// search state, the assembler and the print engine.
class IDocumentHost {
public:
    virtual ~IDocumentHost() = default;
    virtual ILog& Log() = 0;
    virtual ISettingsStore& Settings() = 0;
    virtual IUserDialogs& Dialogs() = 0;
    virtual QWidget* DialogParent() = 0;

    virtual int TakeUntitledNumber() = 0;
    virtual void ReleaseUntitledNumber(int number) = 0;
    virtual void AddRecentFile(const QString& fileName) = 0;

    // The highlighter whose filter names the file's extension; none otherwise.
    virtual const TLexerEntry* HighlighterForFile(const QString& fileName) const = 0;
    // The save dialog: fileName is the initial and, on true, the chosen name.
    virtual bool ExecuteSaveDialog(QString& fileName, const TLexerEntry* highlighter) = 0;

    virtual TSearchState& SearchState() = 0;
    // The one scanner of the program: highlighter, assembler and formatter.
    virtual TSynPicoBlaze& Parser() = 0;
    virtual TFormatColumns Columns() const = 0;
    // The commands of a document's context menu (null for a separator).
    virtual QList<QAction*> EditorContextActions() = 0;

    // Assembles the lines (as stored, one per source line) into the
    // simulator, filling listing with one entry per line and diagnostics
    // with the errors; true on success.
    virtual bool AssembleDocument(const QString& fileName, const std::vector<std::string>& lines,
                                  std::vector<std::string>& listing,
                                  std::vector<TAssemblyDiagnostic>& diagnostics,
                                  TPicoBlazeSimulator& simulator) = 0;
    // The core for new work, which documents start with.
    virtual TCoreKind CoreKind() const = 0;
    // Opens a file (or brings it to the front) with the caret on a line.
    virtual void ShowSourceLine(const QString& fileName, int line) = 0;
    // A document entered or failed to enter simulation.
    virtual void SimulationStarted(TDocument& document) = 0;
    virtual void SimulationFailed(TDocument& document) = 0;

    // Print preview of a document in place of the document tabs; false when
    // the user cancelled it.
    virtual bool ShowPreview(TDocument& document) = 0;
    virtual void HidePreview() = 0;
    virtual void Print(TDocument& document) = 0;
};

} // namespace korvo
