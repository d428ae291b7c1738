// The edit, file and search commands of a document.
#include "base/user_dialogs.h"
#include "common/settings_layout.h"
#include "shell/document/document.h"
#include "shell/document/document_form.h"
#include "shell/document/document_host.h"
#include "shell/document/source_editor.h"
#include "shell/search/document_search.h"
#include "shell/search/search_state.h"
#include "simulator/simulator.h"
#include "text/source_formatter.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

namespace korvo {

namespace {
using Sci = QsciScintillaBase;
} // namespace

// ---- IDocumentEditCommands ----

bool TDocument::HasSelection() const {
    auto* text = TextControl();
    return text && text->hasSelectedText();
}

bool TDocument::IsReadOnly() const {
    auto* text = TextControl();
    return !text || text->isReadOnly();
}

bool TDocument::IsEmpty() const {
    auto* text = TextControl();
    return !text || text->IsEmptyText();
}

bool TDocument::CanCopy() const {
    return form_ && HasSelection();
}

bool TDocument::CanCut() const {
    return CanCopy() && !IsReadOnly();
}

bool TDocument::CanDelete() const {
    return CanCut();
}

bool TDocument::CanPaste() const {
    if (!form_ || IsReadOnly()) return false;
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasText();
}

bool TDocument::CanRedo() const {
    return form_ && form_->SynEditor->isRedoAvailable();
}

bool TDocument::CanUndo() const {
    return form_ && form_->SynEditor->isUndoAvailable();
}

bool TDocument::CanSelectAll() const {
    return form_ != nullptr;
}

bool TDocument::CanComment() const {
    auto* text = TextControl();
    if (!text || !text->hasSelectedText()) return false;
    long start = text->SendScintilla(Sci::SCI_GETSELECTIONSTART);
    long line = text->SendScintilla(Sci::SCI_LINEFROMPOSITION, start);
    return text->SendScintilla(Sci::SCI_POSITIONFROMLINE, line) == start;
}

void TDocument::Copy() {
    if (auto* text = TextControl()) text->copy();
}

void TDocument::Cut() {
    if (auto* text = TextControl()) text->cut();
}

void TDocument::Delete() {
    if (auto* text = TextControl(); text && !text->isReadOnly()) text->removeSelectedText();
}

void TDocument::Paste() {
    if (auto* text = TextControl()) text->paste();
}

void TDocument::Redo() {
    if (auto* text = TextControl()) text->redo();
}

void TDocument::Undo() {
    if (auto* text = TextControl()) text->undo();
}

void TDocument::SelectAll() {
    if (auto* text = TextControl()) text->selectAll();
}

void TDocument::Comment() {
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

void TDocument::SetRightEdge(int column) {
    if (auto* text = TextControl()) text->SetRightEdge(column);
}

void TDocument::ReplaceSourceLines(const std::vector<std::string>& lines) {
    if (auto* text = TextControl()) text->ReplaceLines(file_.EditorLines(lines));
}

void TDocument::Format(const TFormatColumns& columns) {
    if (!form_ || IsReadOnly()) return;
    ReplaceSourceLines(FormatLines(host_.Parser(), SourceLines(), simulation_.CoreKind(), columns));
    SetModified(true);
}

// ---- IDocumentFileCommands ----

bool TDocument::CanPrint() const {
    return form_ && !IsEmpty();
}

bool TDocument::CanSaveAs() const {
    return form_ != nullptr;
}

void TDocument::SetPreview(bool on) {
    if (on == preview_ || !form_) return;
    if (on) {
        preview_ = host_.ShowPreview(*this);
    } else {
        preview_ = false;
        host_.HidePreview();
    }
}

void TDocument::Print() {
    if (form_) host_.Print(*this);
}

bool TDocument::CanSave() const {
    return form_ && (Modified() || file_.Name().isEmpty());
}

bool TDocument::Save() {
    if (!form_) return false;
    if (file_.IsUntitled()) return SaveAs();
    if (!WriteText(file_.Name())) return false;
    SetModified(false);
    return true;
}

bool TDocument::WriteText(const QString& fileName) {
    try {
        file_.Write(fileName, form_->SynEditor->Bytes());
        return true;
    } catch (const std::exception& error) {
        host_.Dialogs().ShowError(host_.DialogParent(), QString::fromStdString(error.what()));
        return false;
    }
}

bool TDocument::SaveAs() {
    if (!form_) return false;
    QString fileName = file_.Name();
    if (!host_.ExecuteSaveDialog(fileName, highlighterEntry_)) return false;
    file_.SetName(fileName);
    // A core other than the one for new work stays the file's.
    if (Simulator() && Simulator()->CoreKind() != host_.CoreKind())
        settings::StoreFileCoreKind(host_.Settings(), FileSystemName(fileName),
                                    Simulator()->CoreKind());
    ShowCaptionAndLog();
    ChooseHighlighter();
    return Save();
}

std::vector<std::string> TDocument::SourceLines() const {
    auto* text = TextControl();
    return text ? file_.SourceLines(text->Bytes()) : std::vector<std::string>();
}

// ---- IDocumentSearchCommands ----

bool TDocument::CanFind() const {
    return form_ && !IsEmpty();
}

bool TDocument::CanFindNext() const {
    return CanFind() && !host_.SearchState().SearchText.isEmpty();
}

bool TDocument::CanFindPrev() const {
    return CanFindNext();
}

bool TDocument::CanReplace() const {
    return CanFind() && !IsReadOnly();
}

void TDocument::Find() {
    auto self = shared_from_this();
    if (form_) ShowSearchDialog(host_, *form_, false);
}
void TDocument::Replace() {
    auto self = shared_from_this();
    if (form_) ShowSearchDialog(host_, *form_, true);
}
void TDocument::FindNext() {
    auto self = shared_from_this();
    if (form_) RunSearch(host_, *form_, false, false);
}
void TDocument::FindPrev() {
    auto self = shared_from_this();
    if (form_) RunSearch(host_, *form_, false, true);
}

} // namespace korvo
