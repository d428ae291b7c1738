#include "shell/document/editor.h"

#include "analysis/program_check.h"
#include "assembler/driver.h"
#include "assembler/source_symbols.h"
#include "assembler/syn_picoblaze.h"
#include "base/fonts.h"
#include "base/user_dialogs.h"
#include "common/log.h"
#include "common/settings_layout.h"
#include "common/text_file.h"
#include "shell/app/icons.h"
#include "shell/document/document_manager.h"
#include "shell/document/editor_form.h"
#include "shell/document/editor_host.h"
#include "shell/document/heat_counter.h"
#include "shell/document/highlighter.h"
#include "shell/document/html_export.h"
#include "shell/document/source_editor.h"
#include "shell/search/search_state.h"
#include "simulator/debugger.h"
#include "simulator/simulation_session.h"
#include "simulator/status_strings.h"
#include "text/kcpsm_import.h"
#include "text/source_formatter.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QTabWidget>
#include <QToolTip>
#include <optional>

namespace korvo {

namespace {
using Sci = QsciScintillaBase;

std::string FileSystemName(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}

// The extension of a name: from its last "." after the last separator.
QString ExtensionOf(const QString& fileName) {
    int separator = std::max(fileName.lastIndexOf('/'), fileName.lastIndexOf('\\'));
    int dot = fileName.lastIndexOf('.');
    return dot > separator ? fileName.mid(dot) : QString();
}

QString NameWithoutPath(const QString& fileName) {
    int separator = std::max(fileName.lastIndexOf('/'), fileName.lastIndexOf('\\'));
    return fileName.mid(separator + 1);
}
} // namespace

TEditor::TEditor(IEditorHost& host, TEditorFactory& manager) : host_(host), manager_(manager) {}

TEditor::~TEditor() {
    if (untitledNumber_ >= 0) host_.ReleaseUntitledNumber(untitledNumber_);
    // A simulation still going ends here, while its session can tell the
    // panels that show it.
    if (simulator_ && simulator_->IsActive()) simulator_->ClearCodeImage();
}

void TEditor::AttachForm(TEditorForm* form, QTabWidget* tabs) {
    form_ = form;
    tabs_ = tabs;
    form->Owner = this;
    auto* text = form->SynEditor;
    std::weak_ptr<TEditor> weak = weak_from_this();
    QObject::connect(text, &QsciScintilla::modificationChanged, form, [weak](bool modified) {
        if (auto self = weak.lock()) self->OnModificationChanged(modified);
    });
    QObject::connect(text, &TSourceEditor::FilesDropped, form, [weak](const QStringList& files) {
        if (auto self = weak.lock()) self->OnFilesDropped(files);
    });
    QObject::connect(text, &TSourceEditor::FocusReceived, form, [weak] {
        if (auto self = weak.lock()) self->Activate();
    });
    QObject::connect(text, &TSourceEditor::ContextMenuRequested, form,
                     [weak](const QPoint& position) {
                         if (auto self = weak.lock()) self->ShowContextMenu(position);
                     });
    QObject::connect(form, &TEditorForm::Closing, form, [weak] {
        if (auto self = weak.lock()) self->OnFormClosing();
    });
    QObject::connect(form, &QObject::destroyed, [weak] {
        if (auto self = weak.lock()) self->OnFormDestroyed();
    });
    auto sendToGutter = [weak](int margin, int line, Qt::KeyboardModifiers) {
        auto self = weak.lock();
        if (!self || margin == TSourceEditor::kNumberMargin) return;
        // The simulator decides which lines can hold a breakpoint.
        if (self->simulator_) self->simulator_->ToggleBreakpoint(line + 1);
    };
    QObject::connect(text, &QsciScintilla::marginClicked, form, sendToGutter);
    QObject::connect(text, &QsciScintilla::textChanged, form, [weak] {
        if (auto self = weak.lock()) self->symbolsValid_ = false;
    });
    QObject::connect(text, &TSourceEditor::DefinitionRequested, form, [weak](int position) {
        if (auto self = weak.lock()) self->GotoDefinition(position);
    });
    QObject::connect(text, &TSourceEditor::HoverRequested, form,
                     [weak, text](int position, const QPoint& globalPosition) {
                         auto self = weak.lock();
                         QString hint = self ? self->HoverText(position) : QString();
                         if (!hint.isEmpty()) QToolTip::showText(globalPosition, hint, text);
                     });
}

TEditorForm* TEditor::Form() const {
    return form_.data();
}

TSourceEditor* TEditor::TextControl() const {
    return form_ ? form_->SynEditor : nullptr;
}

QWidget* TEditor::TabPage() const {
    return form_ ? form_->parentWidget() : nullptr;
}

// ---- IDocument ----

void TEditor::Activate() {
    if (!form_ || form_->IsClosing()) return;
    manager_.Activate(*this);
}

bool TEditor::AskSaveChanges() {
    if (!form_ || !Modified()) return true;
    if (tabs_ && TabPage()) tabs_->setCurrentWidget(TabPage());
    QString question = QStringLiteral("Save modified: \"%1\"?").arg(NameWithoutPath(Title()));
    switch (host_.Dialogs().AskSaveChanges(host_.DialogParent(), question)) {
    case TSaveAnswer::Yes: return Save();
    case TSaveAnswer::No: return true;
    case TSaveAnswer::Cancel: return false;
    }
    return false;
}

bool TEditor::CanClose() const {
    return form_ != nullptr;
}

void TEditor::Close() {
    auto self = shared_from_this();
    if (!fileName_.isEmpty()) host_.AddRecentFile(fileName_);
    if (untitledNumber_ >= 0) {
        host_.ReleaseUntitledNumber(untitledNumber_);
        untitledNumber_ = -1;
    }
    if (form_) form_->RequestClose(true);
}

TCaretPos TEditor::GetCaretPos() const {
    auto* text = TextControl();
    if (!text) return {0, 0};
    long position = text->SendScintilla(Sci::SCI_GETCURRENTPOS);
    long line = text->SendScintilla(Sci::SCI_LINEFROMPOSITION, position);
    long lineStart = text->SendScintilla(Sci::SCI_POSITIONFROMLINE, line);
    long column = text->SendScintilla(Sci::SCI_COUNTCHARACTERS, lineStart, position);
    return {static_cast<int>(line) + 1, static_cast<int>(column) + 1};
}

void TEditor::SetCaretPos(TCaretPos position) {
    auto* text = TextControl();
    if (!text) return;
    int line = std::clamp(position.Line - 1, 0, std::max(0, text->lines() - 1));
    long lineStart = text->SendScintilla(Sci::SCI_POSITIONFROMLINE, line);
    long lineEnd = text->SendScintilla(Sci::SCI_GETLINEENDPOSITION, line);
    long target = lineStart;
    if (position.Column > 1) {
        // Characters, not bytes; past the end of the line the caret stops there.
        target = text->SendScintilla(Sci::SCI_POSITIONRELATIVE, lineStart,
                                     static_cast<long>(position.Column - 1));
        if (target <= lineStart || target > lineEnd) target = lineEnd;
    }
    text->SendScintilla(Sci::SCI_GOTOPOS, target);
    text->ensureLineVisible(line);
}

QString TEditor::StatusText(int index) const {
    if (!form_) return {};
    switch (index) {
    case 1: {
        TCaretPos caret = GetCaretPos();
        if (caret.Line < 1 || caret.Column < 1) return {};
        return QString::asprintf(" %6d:%3d ", caret.Line, caret.Column);
    }
    case 2: return Modified() ? QStringLiteral("Modified") : QString();
    case 3:
        if (mode_ == dmSimulate) return simulationStatus_.value(0);
        return InsertModeText();
    case 4:
    case 5:
    case 6:
    case 7: return mode_ == dmSimulate ? simulationStatus_.value(index - 3) : QString();
    default: return {};
    }
}

QString TEditor::InsertModeText() const {
    auto* text = TextControl();
    if (!text) return {};
    if (text->isReadOnly()) return QStringLiteral("Read Only");
    return text->overwriteMode() ? QStringLiteral("Overwrite") : QStringLiteral("Insert");
}

QString TEditor::Title() {
    if (fileName_.isEmpty() || fileName_.contains('*')) {
        if (untitledNumber_ < 0) untitledNumber_ = host_.TakeUntitledNumber();
        QString title = QStringLiteral("Untitled%1").arg(untitledNumber_);
        if (!fileName_.isEmpty()) title += ExtensionOf(fileName_);
        return title;
    }
    return NameWithoutPath(fileName_);
}

bool TEditor::Modified() const {
    auto* text = TextControl();
    return text && (text->isModified() || markedModified_);
}

void TEditor::SetModified(bool modified) {
    auto* text = TextControl();
    if (!text) return;
    bool before = Modified();
    // The text control can only clear its flag; a document marked modified
    // without a change of its text keeps the mark here.
    markedModified_ = modified;
    if (!modified) text->setModified(false);
    if (Modified() != before) OnModificationChanged(Modified());
}

void TEditor::SetFileName(const QString& fileName) {
    if (fileName == fileName_) return;
    fileName_ = fileName;
    if (untitledNumber_ >= 0) {
        host_.ReleaseUntitledNumber(untitledNumber_);
        untitledNumber_ = -1;
    }
}

void TEditor::OpenFile(const QString& fileName) {
    if (form_) {
        bool load =
            !fileName.isEmpty() && !fileName.contains('*') && FileExists(FileSystemName(fileName));
        // A file that cannot be read leaves the document as it was.
        if (load && !LoadText(fileName)) return;
        SetFileName(fileName);
        // A file keeps the core chosen for it.
        if (auto core = settings::LoadFileCoreKind(host_.Settings(), FileSystemName(fileName));
            load && core && (!simulator_ || simulator_->CoreKind() != *core))
            SetCoreKind(*core);
        if (!load) {
            encoding_ = TTextEncoding::Utf8;
            form_->SynEditor->SetBytes({});
        }
    } else {
        SetFileName(fileName);
    }
    ShowCaptionAndLog();
    ChooseHighlighter();
}

bool TEditor::LoadText(const QString& fileName) {
    try {
        SetText(ReadFileBytes(FileSystemName(fileName)));
        return true;
    } catch (const std::exception& error) {
        host_.Dialogs().ShowError(host_.DialogParent(), QString::fromStdString(error.what()));
        return false;
    }
}

void TEditor::SetText(const std::string& fileBytes) {
    TDecodedText decoded = DecodeText(fileBytes);
    encoding_ = decoded.Encoding;
    // Line ends become CR LF; a last line without one keeps it that way, so
    // the text shows no empty line that the file does not have.
    std::string text = JoinLinesCrLf(SplitLines(decoded.Utf8));
    char last = decoded.Utf8.empty() ? '\n' : decoded.Utf8.back();
    if (last != '\n' && last != '\r') text.resize(text.size() - 2);
    form_->SynEditor->SetBytes(text);
    markedModified_ = false;
}

void TEditor::ShowCaptionAndLog() {
    QString title = Title();
    if (tabs_ && TabPage()) {
        int index = tabs_->indexOf(TabPage());
        if (index >= 0) {
            tabs_->setTabText(index, title);
            tabs_->setTabToolTip(index, fileName_.isEmpty() ? title : fileName_);
        }
    }
    bool untitled = title.contains(QLatin1String("untitled"), Qt::CaseInsensitive);
    host_.Log().AddLogLine(
        ((untitled ? QStringLiteral("Created: ") : QStringLiteral("Read: ")) + title)
            .toStdString());
}

void TEditor::ChooseHighlighter() {
    highlighterEntry_ = fileName_.isEmpty() ? nullptr : host_.HighlighterForFile(fileName_);
    auto* text = TextControl();
    if (!text) return;
    if (highlighterEntry_) {
        if (!highlighter_ || &highlighter_->Scanner() != highlighterEntry_->Scanner) {
            text->setLexer(nullptr);
            delete highlighter_;
            highlighter_ = new TSourceHighlighter(*highlighterEntry_->Scanner, text);
            highlighter_->ApplyAttributes(text->EditorFont());
            text->setLexer(highlighter_);
        }
    } else if (highlighter_) {
        text->setLexer(nullptr);
        delete highlighter_;
        highlighter_ = nullptr;
    }
    text->SetEditorFont(text->EditorFont());
}

void TEditor::ReloadHighlighter() {
    if (highlighter_)
        if (auto* text = TextControl()) highlighter_->ApplyAttributes(text->EditorFont());
}

void TEditor::ApplyEditorSettings(const ISettingsStore& settings) {
    auto* text = TextControl();
    if (!text || !settings.KeyExists(settings::kEditorKey)) return;
    settings::TEditorSettings editor = settings::LoadEditorSettings(settings);
    QFont font = EditorFont(QString::fromStdString(editor.FontName), editor.FontSize);
    text->SetEditorFont(font);
    if (highlighter_) highlighter_->ApplyAttributes(font);
    // Smart tabs have no counterpart in this editor; the others map directly,
    // a switch that is not stored as on is off.
    text->setTabIndents(editor.TabIndent.value_or(false));
    text->setIndentationsUseTabs(!editor.TabsToSpaces.value_or(false));
    text->setBackspaceUnindents(editor.TabDelete.value_or(false));
    text->setAutoIndent(editor.AutoIndent.value_or(false));
}

void TEditor::ConvertKcpsmSource() {
    auto* text = TextControl();
    if (!text) return;
    auto self = shared_from_this();
    // KCPSM6 INCLUDE files are found beside the document.
    TKcpsmImportOptions options;
    options.SourceFile = FileSystemName(fileName_);
    TKcpsmConversion conversion;
    try {
        conversion =
            ImportKcpsmSource(host_.Parser(), SourceLines(), CoreKind(), host_.Columns(), options);
    } catch (const EFileError& error) {
        host_.Dialogs().ShowError(host_.DialogParent(), QString::fromStdString(error.what()));
        return;
    }
    text->setUpdatesEnabled(false);
    ReplaceSourceLines(conversion.Lines);
    text->setUpdatesEnabled(true);
    // The converted text is new: Save asks for its name, starting beside the
    // source, and never writes it over the source it came from.
    if (!fileName_.isEmpty()) {
        SetFileName(QFileInfo(fileName_).absolutePath() + QStringLiteral("/*.psm"));
        ShowCaptionAndLog();
        ChooseHighlighter();
    }
    SetModified(true);
    // The renames head the text too; the log tells of them at once.
    for (const auto& note : conversion.Notes)
        host_.Log().AddLogLine("!Import: " + note);
    for (const auto& rename : conversion.Renames)
        host_.Log().AddLogLine("!Import renamed " + rename);
}

bool TEditor::ExportHtml(const QString& fileName) {
    auto* text = TextControl();
    if (!text) return false;
    try {
        std::vector<std::string> lines = SplitLines(text->Bytes());
        std::string html =
            ExportHtmlText(lines, highlighterEntry_ ? highlighterEntry_->Scanner : nullptr,
                           text->EditorFont(), Title());
        WriteFileBytes(FileSystemName(fileName), html);
        return true;
    } catch (const std::exception& error) {
        host_.Dialogs().ShowError(host_.DialogParent(), QString::fromStdString(error.what()));
        return false;
    }
}

void TEditor::SetWholeText(const QString& value) {
    if (auto* text = TextControl()) {
        QString normalised = value;
        normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        normalised.replace('\r', '\n');
        normalised.replace('\n', QLatin1String("\r\n"));
        text->selectAll();
        text->replaceSelectedText(normalised);
    }
}

// ---- IDocumentEditCommands ----

bool TEditor::HasSelection() const {
    auto* text = TextControl();
    return text && text->hasSelectedText();
}

bool TEditor::IsReadOnly() const {
    auto* text = TextControl();
    return !text || text->isReadOnly();
}

bool TEditor::IsEmpty() const {
    auto* text = TextControl();
    return !text || text->IsEmptyText();
}

bool TEditor::CanCopy() const {
    return form_ && HasSelection();
}
bool TEditor::CanCut() const {
    return CanCopy() && !IsReadOnly();
}
bool TEditor::CanDelete() const {
    return CanCut();
}

bool TEditor::CanPaste() const {
    if (!form_ || IsReadOnly()) return false;
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasText();
}

bool TEditor::CanRedo() const {
    return form_ && form_->SynEditor->isRedoAvailable();
}
bool TEditor::CanUndo() const {
    return form_ && form_->SynEditor->isUndoAvailable();
}
bool TEditor::CanSelectAll() const {
    return form_ != nullptr;
}

bool TEditor::CanComment() const {
    auto* text = TextControl();
    if (!text || !text->hasSelectedText()) return false;
    long start = text->SendScintilla(Sci::SCI_GETSELECTIONSTART);
    long line = text->SendScintilla(Sci::SCI_LINEFROMPOSITION, start);
    return text->SendScintilla(Sci::SCI_POSITIONFROMLINE, line) == start;
}

void TEditor::Copy() {
    if (auto* text = TextControl()) text->copy();
}
void TEditor::Cut() {
    if (auto* text = TextControl()) text->cut();
}
void TEditor::Delete() {
    if (auto* text = TextControl(); text && !text->isReadOnly()) text->removeSelectedText();
}
void TEditor::Paste() {
    if (auto* text = TextControl()) text->paste();
}
void TEditor::Redo() {
    if (auto* text = TextControl()) text->redo();
}
void TEditor::Undo() {
    if (auto* text = TextControl()) text->undo();
}
void TEditor::SelectAll() {
    if (auto* text = TextControl()) text->selectAll();
}

void TEditor::Comment() {
    if (!CanComment() || IsReadOnly()) return;
    auto* text = TextControl();
    QString selection = text->selectedText();
    QString result;
    if (selection.startsWith(';')) {
        result = selection.mid(1);
        result.replace(QLatin1String("\r\n;"), QLatin1String("\r\n"));
    } else {
        result = selection;
        result.replace(QLatin1String("\r\n"), QLatin1String("\r\n;"));
        if (result.endsWith(';')) result.chop(1);
        result.prepend(';');
    }
    long start = text->SendScintilla(Sci::SCI_GETSELECTIONSTART);
    text->replaceSelectedText(result);
    // Keep the lines selected, so that the command can be undone by repeating it.
    long end = text->SendScintilla(Sci::SCI_GETCURRENTPOS);
    text->SendScintilla(Sci::SCI_SETSEL, start, end);
}

void TEditor::SetRightEdge(int column) {
    if (auto* text = TextControl()) text->SetRightEdge(column);
}

TCoreKind TEditor::CoreKind() const {
    return simulator_ ? simulator_->CoreKind() : kDefaultCoreKind;
}

void TEditor::ReplaceSourceLines(const std::vector<std::string>& lines) {
    auto* text = TextControl();
    if (!text) return;
    std::vector<std::string> editorLines;
    editorLines.reserve(lines.size());
    for (const auto& line : lines) {
        // A formatted line of a UTF-8 text may hold a lone byte the
        // formatter marked; such a line shows byte for byte.
        bool asUtf8 = encoding_ == TTextEncoding::Utf8 && IsValidUtf8(line);
        editorLines.push_back(asUtf8 ? line : Latin1ToUtf8(line));
    }
    text->ReplaceLines(editorLines);
}

void TEditor::Format(const TFormatColumns& columns) {
    if (!form_ || IsReadOnly()) return;
    ReplaceSourceLines(FormatLines(host_.Parser(), SourceLines(), CoreKind(), columns));
    SetModified(true);
}

// ---- IDocumentFileCommands ----

bool TEditor::CanPrint() const {
    return form_ && !IsEmpty();
}
bool TEditor::CanSave() const {
    return form_ && (Modified() || fileName_.isEmpty());
}
bool TEditor::CanSaveAs() const {
    return form_ != nullptr;
}

void TEditor::SetPreview(bool on) {
    if (on == preview_ || !form_) return;
    if (on) {
        preview_ = host_.ShowPreview(*this);
    } else {
        preview_ = false;
        host_.HidePreview();
    }
}

void TEditor::Print() {
    if (form_) host_.Print(*this);
}

bool TEditor::Save() {
    if (!form_) return false;
    if (fileName_.isEmpty() || fileName_.contains('*')) return SaveAs();
    if (!WriteText(fileName_)) return false;
    SetModified(false);
    return true;
}

bool TEditor::WriteText(const QString& fileName) {
    try {
        std::string lines = JoinLinesCrLf(SplitLines(form_->SynEditor->Bytes()));
        WriteFileBytes(FileSystemName(fileName), EncodeText(lines, encoding_));
        return true;
    } catch (const std::exception& error) {
        host_.Dialogs().ShowError(host_.DialogParent(), QString::fromStdString(error.what()));
        return false;
    }
}

bool TEditor::SaveAs() {
    if (!form_) return false;
    QString fileName = fileName_;
    if (!host_.ExecuteSaveDialog(fileName, highlighterEntry_)) return false;
    SetFileName(fileName);
    // A core other than the one for new work stays the file's.
    if (simulator_ && simulator_->CoreKind() != host_.CoreKind())
        settings::StoreFileCoreKind(host_.Settings(), FileSystemName(fileName),
                                    simulator_->CoreKind());
    ShowCaptionAndLog();
    ChooseHighlighter();
    return Save();
}

std::vector<std::string> TEditor::SourceLines() const {
    auto* text = TextControl();
    if (!text) return {};
    TTextEncoding encoding = encoding_;
    return SplitLines(EncodeText(text->Bytes(), encoding));
}

// ---- IDocumentSearchCommands ----

bool TEditor::CanFind() const {
    return form_ && !IsEmpty();
}
bool TEditor::CanFindNext() const {
    return CanFind() && !host_.SearchState().SearchText.isEmpty();
}
bool TEditor::CanFindPrev() const {
    return CanFindNext();
}
bool TEditor::CanReplace() const {
    return CanFind() && !IsReadOnly();
}

void TEditor::Find() {
    ShowSearchDialog(false);
}
void TEditor::Replace() {
    ShowSearchDialog(true);
}
void TEditor::FindNext() {
    RunSearch(false, false);
}
void TEditor::FindPrev() {
    RunSearch(false, true);
}

void TEditor::ShowSearchDialog(bool replace) {
    auto* text = TextControl();
    if (!text) return;
    auto self = shared_from_this();
    TSearchState& state = host_.SearchState();
    TSearchState edited = state;
    int lineFrom = 0, indexFrom = 0, lineTo = 0, indexTo = 0;
    text->getSelection(&lineFrom, &indexFrom, &lineTo, &indexTo);
    if (text->hasSelectedText() && lineFrom == lineTo) {
        edited.SearchText = text->selectedText();
    } else {
        int line = 0, index = 0;
        text->getCursorPosition(&line, &index);
        edited.SearchText = text->wordAtLineIndex(line, index);
    }
    if (!host_.Dialogs().EditSearch(host_.DialogParent(), replace, edited)) return;
    state = edited;
    if (!form_) return;
    form_->SearchFromCaret = state.FromCaret;
    if (!state.SearchText.isEmpty()) {
        RunSearch(replace, state.Backwards);
        if (form_) form_->SearchFromCaret = true;
    }
}

QRect TEditor::MatchRectangle(int start, int end) const {
    auto* text = TextControl();
    if (!text) return {};
    int x = static_cast<int>(text->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0L, start));
    int y = static_cast<int>(text->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0L, start));
    int right = static_cast<int>(text->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0L, end));
    long line = text->SendScintilla(Sci::SCI_LINEFROMPOSITION, start);
    int height = static_cast<int>(text->SendScintilla(Sci::SCI_TEXTHEIGHT, line));
    QPoint topLeft = text->viewport()->mapToGlobal(QPoint(x, y));
    return QRect(topLeft, QSize(std::max(1, right - x), height));
}

void TEditor::RunSearch(bool replace, bool backwards) {
    auto* text = TextControl();
    if (!text) return;
    auto self = shared_from_this();
    const TSearchState& state = host_.SearchState();
    TSearchOptions options;
    options.Replace = replace;
    options.Backwards = backwards;
    options.MatchCase = state.CaseSensitive;
    options.EntireScope = !form_->SearchFromCaret;
    options.SelectedOnly = state.SelectedOnly;
    options.WholeWord = state.WholeWords;
    IUserDialogs& dialogs = host_.Dialogs();
    QString searchText = state.SearchText;
    auto confirm = [&](int start, int end) {
        return dialogs.ConfirmReplace(text, MatchRectangle(start, end), searchText);
    };
    int found = SearchReplace(*text, searchText, state.ReplaceText, options, confirm);
    if (found == 0) {
        dialogs.Beep();
        long anchor =
            text->SendScintilla(backwards ? Sci::SCI_GETSELECTIONSTART : Sci::SCI_GETSELECTIONEND);
        text->SendScintilla(Sci::SCI_SETSEL, anchor, anchor);
    }
    dialogs.EndReplace();
}

// ---- IDocumentSimulation ----

void TEditor::RefreshLine(int line) {
    auto* text = TextControl();
    if (!text) return;
    if (line >= 1 && line <= text->lines()) {
        PaintLineMarks(line, MarksOfLine(line));
        return;
    }
    RefreshAllLineMarks();
}

int TEditor::MarksOfLine(int line) const {
    int info = simulator_ ? simulator_->LineInfo(line) & ~liCurrent : 0;
    bool shown = !simulator_ || simulator_->ShowsCurrentLine();
    if (line == currentLine_ && shown) info |= liCurrent;
    return info;
}

void TEditor::RefreshAllLineMarks() {
    auto* text = TextControl();
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

void TEditor::SetCoverageShown(bool shown) {
    coverageShown_ = shown;
}

void TEditor::RepaintLineMarks() {
    ForgetLineMarks();
    RefreshAllLineMarks();
    ShowHeat();
}

void TEditor::ShowHeat() {
    auto* text = TextControl();
    if (!heatShown_ || !simulator_ || !simulator_->IsActive() || mode_ != dmSimulate) {
        heat_.reset();
        if (text) text->SetHeat({});
        return;
    }
    if (!heat_) heat_ = std::make_unique<THeatCounter>(*simulator_);
    if (text && !simulator_->IsRunning()) text->SetHeat(heat_->LineCounts(text->lines()));
}

void TEditor::ForgetLineMarks() {
    shownMarks_.clear();
    if (auto* text = TextControl()) text->ClearLineMarks();
}

void TEditor::PaintLineMarks(int line, int info) {
    auto* text = TextControl();
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

void TEditor::SetCurrentLine(int line) {
    auto* text = TextControl();
    int previous = currentLine_;
    currentLine_ = std::max(0, line);
    if (!text) return;
    if (previous > 0 && previous != currentLine_) RefreshLine(previous);
    if (currentLine_ > 0) {
        if (GetCaretPos().Line != currentLine_) text->MoveCaret(currentLine_, 1);
        RefreshLine(currentLine_);
    }
}

void TEditor::StartSimulation() {
    std::weak_ptr<TEditor> weak = weak_from_this();
    // The old session first: it detaches its handlers from the simulator
    // when it goes, which must not happen after the new one attached its own.
    heat_.reset();
    session_.reset();
    session_ = std::make_unique<TSimulationSession>(*simulator_, host_.Log(), &host_.Settings());
    simulator_->SetLog(&host_.Log());
    simulator_->OnCurrentLineChange = [weak](TDebugger&) {
        if (auto self = weak.lock()) self->ShowSimulationState();
    };
    simulator_->OnBreakpointChange = [weak](TDebugger&, int line) {
        if (auto self = weak.lock()) self->RefreshLine(line);
    };
    host_.SimulationStarted(*this);
    ForgetLineMarks();
    simulator_->Start();
    RefreshLine(0);
    ShowHeat();
}

void TEditor::ShowSimulationState() {
    if (!simulator_) return;
    SetCurrentLine(simulator_->CurrentLine());
    UpdateStatusStrings();
    if (simulator_->ShowsCurrentLine()) RefreshAllLineMarks();
    // A reset in a run starts the counts again before the run goes on.
    if (heat_) heat_->FollowReset();
    if (!simulator_->IsRunning()) ShowHeat();
}

void TEditor::RefreshRunStatus() {
    if (!simulator_ || mode_ != dmSimulate) return;
    UpdateStatusStrings();
    RefreshAllLineMarks();
}

void TEditor::UpdateStatusStrings() {
    TStatusStrings texts = MakeStatusStrings(
        *simulator_, session_ ? session_->FrequencyMHz() : settings::kDefaultClockFrequency);
    simulationStatus_ = QStringList{
        QString::fromStdString(texts.Instructions), QString::fromStdString(texts.Time),
        QString::fromStdString(texts.ProgramCounter), QString::fromStdString(texts.StackPointer),
        QString::fromStdString(texts.Stack)};
}

const QStringList& TEditor::Listing() const {
    static const QStringList kNone;
    return form_ ? form_->ListingLines : kNone;
}

void TEditor::ShowListingInGutter() {
    auto* text = TextControl();
    if (!text) return;
    if (text->LineNumbersShown())
        text->ClearListing();
    else
        text->SetListing(form_->ListingLines);
}

void TEditor::SetMode(TDocumentMode mode) {
    auto* text = TextControl();
    if (!text) {
        mode_ = mode;
        return;
    }
    auto self = shared_from_this();
    switch (mode) {
    case dmEdit:
        if (simulator_) simulator_->ClearCodeImage();
        SetCurrentLine(0);
        RefreshLine(0);
        form_->ListingLines.clear();
        form_->HasListing = false;
        text->setReadOnly(false);
        text->ShowLineNumbers(true);
        ShowListingInGutter();
        mode_ = dmEdit;
        break;
    case dmSimulate: {
        // A simulation still going ends before the program is assembled anew.
        if (simulator_ && simulator_->IsActive()) simulator_->ClearCodeImage();
        form_->ListingLines.clear();
        form_->HasListing = true;
        std::vector<std::string> listing;
        std::vector<TAssemblyDiagnostic> diagnostics;
        const std::vector<std::string> lines = SourceLines();
        bool assembled = simulator_ && host_.AssembleDocument(fileName_, lines, listing,
                                                              diagnostics, *simulator_);
        if (!form_) return;
        ShowErrorMarks(diagnostics, FileSystemName(fileName_));
        for (const auto& entry : listing)
            form_->ListingLines << QString::fromUtf8(entry.data(),
                                                     static_cast<qsizetype>(entry.size()));
        if (assembled) {
            text->setReadOnly(true);
            text->ShowLineNumbers(false);
            mode_ = dmSimulate;
            ShowListingInGutter();
            ShowCheckFindings(lines);
            StartSimulation();
        } else {
            if (simulator_) simulator_->ClearCodeImage();
            session_.reset();
            host_.SimulationFailed(*this);
            text->setReadOnly(false);
            if (!form_->ListingLines.isEmpty()) text->ShowLineNumbers(false);
            mode_ = dmErrors;
            ShowListingInGutter();
            for (int line = 0; line < form_->ListingLines.size(); ++line)
                if (form_->ListingLines[line].startsWith('?')) {
                    text->MoveCaret(line + 1, 1);
                    break;
                }
        }
        break;
    }
    case dmErrors:
        if (simulator_) simulator_->ClearCodeImage();
        RefreshLine(0);
        text->setReadOnly(false);
        text->ShowLineNumbers(false);
        mode_ = dmErrors;
        ShowListingInGutter();
        break;
    }
    ShowHeat();
}

void TEditor::SetCoreKind(TCoreKind kind) {
    // The session still hears the simulator end, so that its peripherals
    // and the panels showing them go first.
    if (simulator_) {
        simulator_->Reset();
        simulator_->ClearCodeImage();
    }
    heat_.reset();
    session_.reset();
    simulator_.reset();
    if (IsCoreKind(kind)) simulator_ = CreateDebugger(kind);
}

void TEditor::ShowCheckFindings(const std::vector<std::string>& lines) {
    auto* text = TextControl();
    if (!text || !simulator_) return;
    TCheckRequest request;
    request.FileName = FileSystemName(fileName_);
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
        if (finding.FileName == request.FileName && finding.Line > 0) {
            text->AddCheckMark(finding.Line - 1, QString::fromStdString(finding.Message),
                               finding.Severity);
            // The form the log's double click follows to the line.
            log.AddLogLine("Line " + std::to_string(finding.Line) + ": " + kind + finding.Message);
        } else if (finding.Line > 0) {
            log.AddLogLine(finding.FileName + ":" + std::to_string(finding.Line) + ": " + kind +
                           finding.Message);
        } else {
            log.AddLogLine(kind + finding.Message);
        }
    }
    if (int errors = result.Errors(), warnings = result.Warnings(); errors + warnings > 0)
        log.AddLogLine("Check: " + std::to_string(errors) +
                       (errors == 1 ? " error, " : " errors, ") + std::to_string(warnings) +
                       (warnings == 1 ? " warning" : " warnings"));
}

void TEditor::ShowErrorMarks(const std::vector<TAssemblyDiagnostic>& diagnostics,
                             const std::string& assembledName) {
    auto* text = TextControl();
    if (!text) return;
    text->ClearErrorMarks();
    for (const auto& diagnostic : diagnostics)
        if (diagnostic.FileName == assembledName)
            text->SetErrorMark(diagnostic.Line - 1, QString::fromStdString(diagnostic.Message));
}

// ---- Notifications from the form and the text control ----

void TEditor::OnModificationChanged(bool modified) {
    if (modified && mode_ == dmSimulate) SetMode(dmEdit);
}

void TEditor::OnFilesDropped(const QStringList& files) {
    if (!form_ || Modified() || files.size() != 1) return;
    try {
        SetText(ReadFileBytes(FileSystemName(files.first())));
        SetModified(false);
        form_->SynEditor->MoveCaret(1, 1);
    } catch (const std::exception& error) {
        host_.Dialogs().ShowError(host_.DialogParent(), QString::fromStdString(error.what()));
    }
}

void TEditor::OnFormClosing() {
    auto self = shared_from_this();
    if (preview_) SetPreview(false);
    if (auto* active = manager_.ActiveEditor()) {
        if (active->Mode() != dmEdit) active->SetMode(dmEdit);
        manager_.ClearActive();
    }
}

void TEditor::OnFormDestroyed() {
    auto self = shared_from_this();
    form_ = nullptr;
    highlighter_ = nullptr;
    if (manager_.ActiveEditor() == this) manager_.ClearActive();
    manager_.Remove(this);
}

void TEditor::ShowContextMenu(const QPoint& position) {
    if (!form_) return;
    QMenu* menu = form_->pmnuEditor;
    if (menu->isEmpty()) {
        for (QAction* action : host_.EditorContextActions()) {
            if (action)
                menu->addAction(action);
            else
                menu->addSeparator();
        }
        menu->addAction(QStringLiteral("Cancel"));
    }
    menu->popup(position);
}

} // namespace korvo
