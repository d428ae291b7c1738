#pragma once

#include "common/core_kind.h"
#include "text/format_columns.h"

#include <QString>
#include <cstdint>

namespace korvo {

class TPicoBlazeSimulator;

// What a document shows: its text for editing, its assembled program being
// simulated (read-only text), or the errors of a failed assembly.
enum TDocumentMode : std::uint8_t { dmEdit = 0, dmSimulate = 1, dmErrors = 2 };

// A caret position; line and column count from 1.
struct TCaretPos {
    int Line = 1;
    int Column = 1;
    friend bool operator==(const TCaretPos&, const TCaretPos&) = default;
};

class IDocument {
public:
    virtual ~IDocument() = default;
    virtual void Activate() = 0;
    // Asks the user about unsaved changes; true when closing may go on.
    virtual bool AskSaveChanges() = 0;
    virtual bool CanClose() const = 0;
    virtual void Close() = 0;
    virtual TCaretPos GetCaretPos() const = 0;
    virtual void SetCaretPos(TCaretPos position) = 0;
    // The text of status bar panel index (1 to 7).
    virtual QString StatusText(int index) const = 0;
    virtual QString InsertModeText() const = 0;
    virtual QString FileName() const = 0;
    virtual QString Title() = 0;
    virtual bool Modified() const = 0;
    virtual void SetModified(bool modified) = 0;
    virtual void OpenFile(const QString& fileName) = 0;
    virtual void ConvertKcpsmSource() = 0;
    virtual bool ExportHtml(const QString& fileName) = 0;
    virtual void SetWholeText(const QString& text) = 0;
};

class IDocumentEditCommands {
public:
    virtual ~IDocumentEditCommands() = default;
    virtual bool CanCopy() const = 0;
    virtual bool CanCut() const = 0;
    virtual bool CanDelete() const = 0;
    virtual bool CanPaste() const = 0;
    virtual bool CanRedo() const = 0;
    virtual bool CanSelectAll() const = 0;
    virtual bool CanUndo() const = 0;
    virtual bool CanComment() const = 0;
    virtual bool CanAddBookmark() const = 0;
    virtual void Copy() = 0;
    virtual void Cut() = 0;
    virtual void Delete() = 0;
    virtual void Paste() = 0;
    virtual void Redo() = 0;
    virtual void SelectAll() = 0;
    virtual void Undo() = 0;
    virtual void Comment() = 0;
    virtual void AddBookmark() = 0;
    virtual void SetRightEdge(int column) = 0;
    virtual void Format(const TFormatColumns& columns) = 0;
};

class IDocumentFileCommands {
public:
    virtual ~IDocumentFileCommands() = default;
    virtual bool CanClose() const = 0;
    virtual bool CanPrint() const = 0;
    virtual bool CanSave() const = 0;
    virtual bool CanSaveAs() const = 0;
    virtual bool Preview() const = 0;
    virtual void SetPreview(bool on) = 0;
    virtual void Close() = 0;
    virtual void Print() = 0;
    virtual bool Save() = 0;
    virtual bool SaveAs() = 0;
};

class IDocumentSearchCommands {
public:
    virtual ~IDocumentSearchCommands() = default;
    virtual bool CanFind() const = 0;
    virtual bool CanFindNext() const = 0;
    virtual bool CanFindPrev() const = 0;
    virtual bool CanReplace() const = 0;
    virtual void Find() = 0;
    virtual void FindNext() = 0;
    virtual void FindPrev() = 0;
    virtual void Replace() = 0;
};

class IDocumentSimulation {
public:
    virtual ~IDocumentSimulation() = default;
    // Repaints one line (from 1), or the whole text outside 1 .. line count.
    virtual void RefreshLine(int line) = 0;
    virtual int CurrentLine() const = 0;
    virtual void SetCurrentLine(int line) = 0;
    virtual TDocumentMode Mode() const = 0;
    virtual void SetMode(TDocumentMode mode) = 0;
    virtual TPicoBlazeSimulator* Simulator() const = 0;
    virtual void SetCoreKind(TCoreKind kind) = 0;
};

} // namespace korvo
