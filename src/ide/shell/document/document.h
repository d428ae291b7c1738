#pragma once

#include "shell/document/document_file.h"
#include "shell/document/document_interfaces.h"
#include "shell/document/document_simulation.h"

#include <QPointer>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

class QTabWidget;
class QWidget;

namespace korvo {

class IDocumentHost;
class ISettingsStore;
class TDocumentList;
class TDocumentForm;
class TSourceEditor;
class TSourceLexer;
struct TLexerEntry;
struct TSourceSymbol;

// One document: a source text in a tab of the main window, with its file
// (TDocumentFile) and its simulation (TDocumentSimulation). The rest of the
// program reaches it through the five document interfaces.
class TDocument : public IDocument,
                  public IDocumentEditCommands,
                  public IDocumentFileCommands,
                  public IDocumentSearchCommands,
                  public IDocumentSimulation,
                  public std::enable_shared_from_this<TDocument> {
public:
    TDocument(IDocumentHost& host, TDocumentList& manager);
    ~TDocument() override;
    TDocument(const TDocument&) = delete;
    TDocument& operator=(const TDocument&) = delete;

    // Links the document with the form hosting it in a tab of tabs.
    void AttachForm(TDocumentForm* form, QTabWidget* tabs);
    TDocumentForm* Form() const;
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
    QString FileName() const override { return file_.Name(); }
    QString Title() override { return file_.Title(); }
    bool Modified() const override;
    void SetModified(bool modified) override;
    void OpenFile(const QString& fileName) override;
    void ConvertKcpsmSource() override;
    bool ExportHtml(const QString& fileName) override;
    void SetWholeText(const QString& text) override;

    // IDocumentEditCommands (document_commands.cpp)
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

    // IDocumentFileCommands (document_commands.cpp)
    bool CanPrint() const override;
    bool CanSave() const override;
    bool CanSaveAs() const override;
    bool Preview() const override { return preview_; }
    void SetPreview(bool on) override;
    void Print() override;
    bool Save() override;
    bool SaveAs() override;

    // IDocumentSearchCommands (document_commands.cpp)
    bool CanFind() const override;
    bool CanFindNext() const override;
    bool CanFindPrev() const override;
    bool CanReplace() const override;
    void Find() override;
    void FindNext() override;
    void FindPrev() override;
    void Replace() override;

    // IDocumentSimulation
    void RefreshLine(int line) override { simulation_.RefreshLine(line); }
    int CurrentLine() const override { return simulation_.CurrentLine(); }
    void SetCurrentLine(int line) override { simulation_.SetCurrentLine(line); }
    TDocumentMode Mode() const override { return mode_; }
    void SetMode(TDocumentMode mode) override;
    TPicoBlazeSimulator* Simulator() const override { return simulation_.Simulator(); }
    void SetCoreKind(TCoreKind kind) override { simulation_.SetCoreKind(kind); }

    TDocumentSimulation& Simulation() { return simulation_; }
    // The simulation of the assembled program: logs its state changes and
    // routes its port accesses; none outside Simulate mode.
    TSimulationSession* Session() const { return simulation_.Session(); }

    // The text's lines as the file holds them (in its encoding), as the
    // assembler and the formatter read them.
    std::vector<std::string> SourceLines() const;
    TTextEncoding Encoding() const { return file_.Encoding(); }
    const QStringList& Listing() const;
    const TLexerEntry* Highlighter() const { return highlighterEntry_; }
    // Font and options from the "Editor" settings, when that key exists.
    void ApplyEditorSettings(const ISettingsStore& settings);
    // The highlighter's attributes changed.
    void ReloadHighlighter();
    int UntitledNumber() const { return file_.UntitledNumber(); }
    bool IsEmpty() const;
    bool HasSelection() const;
    bool IsReadOnly() const;

    // Shows the caption in the tab and logs "Created: " or "Read: ".
    void ShowCaptionAndLog();

    // Navigation (document_navigation.cpp). The names the text defines, with
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
    void ChooseHighlighter();
    bool LoadText(const QString& fileName);
    bool WriteText(const QString& fileName);
    void SetText(const std::string& editorBytes);
    // Lines in the file's encoding to the editor's text, one undo step.
    void ReplaceSourceLines(const std::vector<std::string>& lines);
    void OnModificationChanged(bool modified);
    void OnFilesDropped(const QStringList& files);
    void OnFormClosing();
    void OnFormDestroyed();
    void ShowContextMenu(const QPoint& position);
    void ShowListingInGutter();
    // Assembles the text; Simulate mode when it assembled, else Errors mode.
    void AssembleAndSimulate();
    // The current value of a register or port name while simulating.
    QString CurrentValueText(const QString& name, const TSourceSymbol* symbol) const;

    IDocumentHost& host_;
    TDocumentList& manager_;
    TDocumentFile file_;
    QPointer<TDocumentForm> form_;
    QPointer<QTabWidget> tabs_;
    TSourceLexer* highlighter_ = nullptr;
    const TLexerEntry* highlighterEntry_ = nullptr;
    TDocumentMode mode_ = dmEdit;
    TDocumentSimulation simulation_;
    bool preview_ = false;
    bool markedModified_ = false;
    std::vector<TSourceSymbol> symbols_;
    bool symbolsValid_ = false;
};

} // namespace korvo
