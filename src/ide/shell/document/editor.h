#pragma once

#include "shell/document/document_interfaces.h"
#include "shell/document/text_encoding.h"

#include <QPointer>
#include <QRect>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

class QTabWidget;
class QWidget;

namespace korvo {

class IEditorHost;
class ISettingsStore;
class TEditorFactory;
class TEditorForm;
class THeatCounter;
class TPicoBlazeDebugger;
class TSimulationSession;
class TSourceEditor;
class TSourceHighlighter;
struct THighlighterEntry;
struct TAssemblyDiagnostic;
struct TSourceSymbol;

// One document: a source text in a tab of the main window, its file, its
// mode and the simulator for its core. The rest of the program reaches it
// through the five document interfaces.
class TEditor : public IDocument,
                public IDocumentEditCommands,
                public IDocumentFileCommands,
                public IDocumentSearchCommands,
                public IDocumentSimulation,
                public std::enable_shared_from_this<TEditor> {
public:
    TEditor(IEditorHost& host, TEditorFactory& manager);
    ~TEditor() override;
    TEditor(const TEditor&) = delete;
    TEditor& operator=(const TEditor&) = delete;

    // Links the document with the form hosting it in a tab of tabs.
    void AttachForm(TEditorForm* form, QTabWidget* tabs);
    TEditorForm* Form() const;
    TSourceEditor* TextControl() const;
    QWidget* TabPage() const;

    // IDocument
    void Activate() override;
    bool AskSaveChanges() override;
    bool CanClose() const override;
    void Close() override;
    TCaretPos GetCaretPos() const override;
    void SetCaretPos(TCaretPos position) override;
    QString StatusText(int index) const override;
    QString InsertModeText() const override;
    QString FileName() const override { return fileName_; }
    QString Title() override;
    bool Modified() const override;
    void SetModified(bool modified) override;
    void OpenFile(const QString& fileName) override;
    void ConvertKcpsmSource() override;
    bool ExportHtml(const QString& fileName) override;
    void SetWholeText(const QString& text) override;

    // IDocumentEditCommands
    bool CanCopy() const override;
    bool CanCut() const override;
    bool CanDelete() const override;
    bool CanPaste() const override;
    bool CanRedo() const override;
    bool CanSelectAll() const override;
    bool CanUndo() const override;
    bool CanComment() const override;
    bool CanAddBookmark() const override { return false; }
    void Copy() override;
    void Cut() override;
    void Delete() override;
    void Paste() override;
    void Redo() override;
    void SelectAll() override;
    void Undo() override;
    void Comment() override;
    void AddBookmark() override {}
    void SetRightEdge(int column) override;
    void Format(const TFormatColumns& columns) override;

    // IDocumentFileCommands
    bool CanPrint() const override;
    bool CanSave() const override;
    bool CanSaveAs() const override;
    bool Preview() const override { return preview_; }
    void SetPreview(bool on) override;
    void Print() override;
    bool Save() override;
    bool SaveAs() override;

    // IDocumentSearchCommands
    bool CanFind() const override;
    bool CanFindNext() const override;
    bool CanFindPrev() const override;
    bool CanReplace() const override;
    void Find() override;
    void FindNext() override;
    void FindPrev() override;
    void Replace() override;

    // IDocumentSimulation
    void RefreshLine(int line) override;
    // View ▸ Coverage, for every document: executed and never executed
    // lines coloured in the gutter while simulating.
    static void SetCoverageShown(bool shown);
    static bool CoverageShown() { return coverageShown_; }
    // View ▸ Heat, for every document: how often each line ran since the
    // last reset, counted only while shown.
    static void SetHeatShown(bool shown) { heatShown_ = shown; }
    static bool HeatShown() { return heatShown_; }
    // Paints the marks again after the coverage or heat view changed.
    void RepaintLineMarks();
    int CurrentLine() const override { return currentLine_; }
    void SetCurrentLine(int line) override;
    TDocumentMode Mode() const override { return mode_; }
    void SetMode(TDocumentMode mode) override;
    TPicoBlazeDebugger* Simulator() const override { return simulator_.get(); }
    void SetCoreKind(TCoreKind kind) override;

    // The text's lines as the file holds them (in its encoding), as the
    // assembler and the formatter read them.
    std::vector<std::string> SourceLines() const;
    TTextEncoding Encoding() const { return encoding_; }
    const QStringList& Listing() const;
    const THighlighterEntry* Highlighter() const { return highlighterEntry_; }
    // Font and options from the "Editor" settings, when that key exists.
    void ApplyEditorSettings(const ISettingsStore& settings);
    // The highlighter's attributes changed.
    void ReloadHighlighter();
    // The simulation of the assembled program: logs its state changes and
    // routes its port accesses; none outside Simulate mode.
    TSimulationSession* Session() const { return session_.get(); }
    // During a run: the status texts and the marks of the lines executed so
    // far; the current line stays unmarked until the run ends.
    void RefreshRunStatus();
    int UntitledNumber() const { return untitledNumber_; }
    bool IsEmpty() const;
    bool HasSelection() const;
    bool IsReadOnly() const;

    // Shows the caption in the tab and logs "Created: " or "Read: ".
    void ShowCaptionAndLog();

    // Navigation (editor_navigation.cpp). The names the text defines, with
    // the files it includes, for the document's core; found again after the
    // text changed.
    const std::vector<TSourceSymbol>& Symbols();
    // The name at a position of the text (letters, digits and "_"), empty
    // when there is none.
    QString NameAt(int position) const;
    // Moves the caret to where the name at position is defined (opening the
    // included file that defines it); false when it is defined nowhere.
    bool GotoDefinition(int position);
    // The hint for a position: the assembler's message on an error line, or
    // what the name there stands for, with its current value while the
    // program is simulated; empty when there is nothing to say.
    QString HoverText(int position);

private:
    void SetFileName(const QString& fileName);
    void ChooseHighlighter();
    bool LoadText(const QString& fileName);
    bool WriteText(const QString& fileName);
    void SetText(const std::string& fileBytes);
    // Lines in the file's encoding to the editor's text, one undo step.
    void ReplaceSourceLines(const std::vector<std::string>& lines);
    TCoreKind CoreKind() const;
    void RunSearch(bool replace, bool backwards);
    void ShowSearchDialog(bool replace);
    QRect MatchRectangle(int start, int end) const;
    void OnModificationChanged(bool modified);
    void OnFilesDropped(const QStringList& files);
    void OnFormClosing();
    void OnFormDestroyed();
    void ShowContextMenu(const QPoint& position);
    void ShowListingInGutter();
    // The messages of a failed assembly on the lines of this text.
    // Runs the checker over the program just assembled: its findings go to
    // their lines and to the log.
    void ShowCheckFindings(const std::vector<std::string>& lines);
    void ShowErrorMarks(const std::vector<TAssemblyDiagnostic>& diagnostics,
                        const std::string& assembledName);
    // The current value of a register or port name while simulating.
    QString CurrentValueText(const QString& name, const TSourceSymbol* symbol) const;
    void StartSimulation();
    void ShowSimulationState();
    void UpdateStatusStrings();
    // The LineInfo marks of a line as the document shows them: the current
    // line is the document's, and no line is current during a run.
    int MarksOfLine(int line) const;
    void RefreshAllLineMarks();
    // Gutter glyph and colours of one line (from 1) for its marks.
    void PaintLineMarks(int line, int info);
    // Clears every mark and what is known about them.
    void ForgetLineMarks();
    // Counts while the heat view is shown in Simulate mode, and paints the
    // counts unless a run goes on.
    void ShowHeat();

    IEditorHost& host_;
    TEditorFactory& manager_;
    QString fileName_;
    QPointer<TEditorForm> form_;
    QPointer<QTabWidget> tabs_;
    TSourceHighlighter* highlighter_ = nullptr;
    const THighlighterEntry* highlighterEntry_ = nullptr;
    int untitledNumber_ = -1;
    int currentLine_ = 0;
    TDocumentMode mode_ = dmEdit;
    std::unique_ptr<TPicoBlazeDebugger> simulator_;
    // Declared after the simulator: it detaches from it when destroyed.
    std::unique_ptr<TSimulationSession> session_;
    // Declared after the simulator: it stops counting into it when destroyed.
    std::unique_ptr<THeatCounter> heat_;
    bool preview_ = false;
    bool markedModified_ = false;
    TTextEncoding encoding_ = TTextEncoding::Utf8;
    QStringList simulationStatus_;
    // The marks each line (index from 1) shows in the gutter.
    std::vector<int> shownMarks_;
    std::vector<TSourceSymbol> symbols_;
    bool symbolsValid_ = false;
    static inline bool coverageShown_ = false;
    static inline bool heatShown_ = false;
};

} // namespace korvo
