#include "shell/document/document.h"

#include "assembler/source_symbols.h"
#include "base/fonts.h"
#include "base/user_dialogs.h"
#include "common/log.h"
#include "common/settings_layout.h"
#include "common/text_file.h"
#include "shell/document/document_form.h"
#include "shell/document/document_host.h"
#include "shell/document/document_list.h"
#include "shell/document/html_export.h"
#include "shell/document/lexer.h"
#include "shell/document/source_editor.h"
#include "shell/settings/ide_settings.h"
#include "simulator/simulator.h"
#include "text/kcpsm_import.h"

#include <QFileInfo>
#include <QMenu>
#include <QTabWidget>
#include <QToolTip>

namespace korvo {

namespace {
using Sci = QsciScintillaBase;
} // namespace

TDocument::TDocument(IDocumentHost& host, TDocumentList& manager)
    : host_(host), manager_(manager), file_(host), simulation_(*this, host) {}

TDocument::~TDocument() {
    // A simulation still going ends here, while its session can tell the
    // panels that show it.
    if (Simulator() && Simulator()->IsActive()) Simulator()->ClearCodeImage();
}

void TDocument::AttachForm(TDocumentForm* form, QTabWidget* tabs) {
    form_ = form;
    tabs_ = tabs;
    form->Owner = this;
    auto* text = form->SynEditor;
    std::weak_ptr<TDocument> weak = weak_from_this();
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
    QObject::connect(form, &TDocumentForm::Closing, form, [weak] {
        if (auto self = weak.lock()) self->OnFormClosing();
    });
    QObject::connect(form, &QObject::destroyed, [weak] {
        if (auto self = weak.lock()) self->OnFormDestroyed();
    });
    auto sendToGutter = [weak](int margin, int line, Qt::KeyboardModifiers) {
        auto self = weak.lock();
        if (!self || margin == TSourceEditor::kNumberMargin) return;
        // The simulator decides which lines can hold a breakpoint.
        if (auto* simulator = self->Simulator()) simulator->ToggleBreakpoint(line + 1);
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

TDocumentForm* TDocument::Form() const {
    return form_.data();
}

TSourceEditor* TDocument::TextControl() const {
    return form_ ? form_->SynEditor : nullptr;
}

QWidget* TDocument::TabPage() const {
    return form_ ? form_->parentWidget() : nullptr;
}

// ---- IDocument ----

void TDocument::Activate() {
    if (!form_ || form_->IsClosing()) return;
    manager_.Activate(*this);
}

bool TDocument::AskSaveChanges() {
    if (!form_ || !Modified()) return true;
    if (tabs_ && TabPage()) tabs_->setCurrentWidget(TabPage());
    QString question = QStringLiteral("Save modified: \"%1\"?").arg(Title());
    switch (host_.Dialogs().AskSaveChanges(host_.DialogParent(), question)) {
    case TSaveAnswer::Yes: return Save();
    case TSaveAnswer::No: return true;
    case TSaveAnswer::Cancel: return false;
    }
    return false;
}

bool TDocument::CanClose() const {
    return form_ != nullptr;
}

void TDocument::Close() {
    auto self = shared_from_this();
    if (!file_.Name().isEmpty()) host_.AddRecentFile(file_.Name());
    file_.ReleaseUntitledNumber();
    if (form_) form_->RequestClose(true);
}

TCaretPos TDocument::GetCaretPos() const {
    auto* text = TextControl();
    if (!text) return {0, 0};
    long position = text->SendScintilla(Sci::SCI_GETCURRENTPOS);
    long line = text->SendScintilla(Sci::SCI_LINEFROMPOSITION, position);
    long lineStart = text->SendScintilla(Sci::SCI_POSITIONFROMLINE, line);
    long column = text->SendScintilla(Sci::SCI_COUNTCHARACTERS, lineStart, position);
    return {static_cast<int>(line) + 1, static_cast<int>(column) + 1};
}

void TDocument::SetCaretPos(TCaretPos position) {
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

QString TDocument::StatusText(int index) const {
    if (!form_) return {};
    switch (index) {
    case 1: {
        TCaretPos caret = GetCaretPos();
        if (caret.Line < 1 || caret.Column < 1) return {};
        return QString::asprintf(" %6d:%3d ", caret.Line, caret.Column);
    }
    case 2: return Modified() ? QStringLiteral("Modified") : QString();
    case 3:
        if (mode_ == dmSimulate) return simulation_.StatusText(0);
        return InsertModeText();
    case 4:
    case 5:
    case 6:
    case 7: return mode_ == dmSimulate ? simulation_.StatusText(index - 3) : QString();
    default: return {};
    }
}

QString TDocument::InsertModeText() const {
    auto* text = TextControl();
    if (!text) return {};
    if (text->isReadOnly()) return QStringLiteral("Read Only");
    return text->overwriteMode() ? QStringLiteral("Overwrite") : QStringLiteral("Insert");
}

bool TDocument::Modified() const {
    auto* text = TextControl();
    return text && (text->isModified() || markedModified_);
}

void TDocument::SetModified(bool modified) {
    auto* text = TextControl();
    if (!text) return;
    bool before = Modified();
    // The text control can only clear its flag; a document marked modified
    // without a change of its text keeps the mark here.
    markedModified_ = modified;
    if (!modified) text->setModified(false);
    if (Modified() != before) OnModificationChanged(Modified());
}

void TDocument::OpenFile(const QString& fileName) {
    if (form_) {
        bool load =
            !fileName.isEmpty() && !fileName.contains('*') && FileExists(FileSystemName(fileName));
        // A file that cannot be read leaves the document as it was.
        if (load && !LoadText(fileName)) return;
        file_.SetName(fileName);
        // A file keeps the core chosen for it.
        if (auto core = settings::LoadFileCoreKind(host_.Settings(), FileSystemName(fileName));
            load && core && (!Simulator() || Simulator()->CoreKind() != *core))
            SetCoreKind(*core);
        if (!load) {
            file_.SetEncoding(TTextEncoding::Utf8);
            form_->SynEditor->SetBytes({});
        }
    } else {
        file_.SetName(fileName);
    }
    ShowCaptionAndLog();
    ChooseHighlighter();
}

bool TDocument::LoadText(const QString& fileName) {
    try {
        SetText(file_.Read(fileName));
        return true;
    } catch (const std::exception& error) {
        host_.Dialogs().ShowError(host_.DialogParent(), QString::fromStdString(error.what()));
        return false;
    }
}

void TDocument::SetText(const std::string& editorBytes) {
    form_->SynEditor->SetBytes(editorBytes);
    markedModified_ = false;
}

void TDocument::ShowCaptionAndLog() {
    QString title = Title();
    if (tabs_ && TabPage()) {
        int index = tabs_->indexOf(TabPage());
        if (index >= 0) {
            tabs_->setTabText(index, title);
            tabs_->setTabToolTip(index, file_.Name().isEmpty() ? title : file_.Name());
        }
    }
    bool untitled = title.contains(QLatin1String("untitled"), Qt::CaseInsensitive);
    host_.Log().Message(
        ((untitled ? QStringLiteral("Created: ") : QStringLiteral("Read: ")) + title)
            .toStdString());
}

void TDocument::ChooseHighlighter() {
    highlighterEntry_ = file_.Name().isEmpty() ? nullptr : host_.HighlighterForFile(file_.Name());
    auto* text = TextControl();
    if (!text) return;
    if (highlighterEntry_) {
        if (!highlighter_ || &highlighter_->Scanner() != highlighterEntry_->Scanner) {
            text->setLexer(nullptr);
            delete highlighter_;
            highlighter_ = new TSourceLexer(*highlighterEntry_->Scanner, text);
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

void TDocument::ReloadHighlighter() {
    if (highlighter_)
        if (auto* text = TextControl()) highlighter_->ApplyAttributes(text->EditorFont());
}

void TDocument::ApplyEditorSettings(const ISettingsStore& settings) {
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

void TDocument::ConvertKcpsmSource() {
    auto* text = TextControl();
    if (!text) return;
    auto self = shared_from_this();
    // KCPSM6 INCLUDE files are found beside the document.
    TKcpsmImportOptions options;
    options.SourceFile = FileSystemName(file_.Name());
    TKcpsmConversion conversion;
    try {
        conversion = ImportKcpsmSource(host_.Parser(), SourceLines(), simulation_.CoreKind(),
                                       host_.Columns(), options);
    } catch (const EFileError& error) {
        host_.Dialogs().ShowError(host_.DialogParent(), QString::fromStdString(error.what()));
        return;
    }
    text->setUpdatesEnabled(false);
    ReplaceSourceLines(conversion.Lines);
    text->setUpdatesEnabled(true);
    // The converted text is new: Save asks for its name, starting beside the
    // source, and never writes it over the source it came from.
    if (!file_.Name().isEmpty()) {
        file_.SetName(QFileInfo(file_.Name()).absolutePath() + QStringLiteral("/*.psm"));
        ShowCaptionAndLog();
        ChooseHighlighter();
    }
    SetModified(true);
    // The renames head the text too; the log tells of them at once.
    for (const auto& note : conversion.Notes)
        host_.Log().Progress("Import: " + note);
    for (const auto& rename : conversion.Renames)
        host_.Log().Progress("Import renamed " + rename);
}

bool TDocument::ExportHtml(const QString& fileName) {
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

void TDocument::SetWholeText(const QString& value) {
    if (auto* text = TextControl()) {
        QString normalised = value;
        normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        normalised.replace('\r', '\n');
        normalised.replace('\n', QLatin1String("\r\n"));
        text->selectAll();
        text->replaceSelectedText(normalised);
    }
}

// ---- Modes ----

const QStringList& TDocument::Listing() const {
    static const QStringList kNone;
    return form_ ? form_->ListingLines : kNone;
}

void TDocument::ShowListingInGutter() {
    auto* text = TextControl();
    if (!text) return;
    if (text->LineNumbersShown())
        text->ClearListing();
    else
        text->SetListing(form_->ListingLines);
}

void TDocument::SetMode(TDocumentMode mode) {
    auto* text = TextControl();
    if (!text) {
        mode_ = mode;
        return;
    }
    auto self = shared_from_this();
    switch (mode) {
    case dmEdit:
        simulation_.Stop(false);
        SetCurrentLine(0);
        RefreshLine(0);
        form_->ListingLines.clear();
        form_->HasListing = false;
        text->setReadOnly(false);
        text->ShowLineNumbers(true);
        ShowListingInGutter();
        mode_ = dmEdit;
        break;
    case dmSimulate: AssembleAndSimulate(); break;
    case dmErrors:
        simulation_.Stop(false);
        RefreshLine(0);
        text->setReadOnly(false);
        text->ShowLineNumbers(false);
        mode_ = dmErrors;
        ShowListingInGutter();
        break;
    }
}

void TDocument::AssembleAndSimulate() {
    auto* text = TextControl();
    // A simulation still going ends before the program is assembled anew.
    if (Simulator() && Simulator()->IsActive()) simulation_.Stop(false);
    form_->ListingLines.clear();
    form_->HasListing = true;
    const std::vector<std::string> lines = SourceLines();
    QStringList listing;
    bool assembled = simulation_.Assemble(file_.Name(), lines, listing);
    if (!form_) return;
    form_->ListingLines = listing;
    if (assembled) {
        text->setReadOnly(true);
        text->ShowLineNumbers(false);
        mode_ = dmSimulate;
        ShowListingInGutter();
        simulation_.Start(file_.Name(), lines);
        return;
    }
    simulation_.Stop(true);
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

// ---- Notifications from the form and the text control ----

void TDocument::OnModificationChanged(bool modified) {
    if (modified && mode_ == dmSimulate) SetMode(dmEdit);
}

void TDocument::OnFilesDropped(const QStringList& files) {
    if (!form_ || Modified() || files.size() != 1) return;
    try {
        SetText(file_.Read(files.first()));
        SetModified(false);
        form_->SynEditor->MoveCaret(1, 1);
    } catch (const std::exception& error) {
        host_.Dialogs().ShowError(host_.DialogParent(), QString::fromStdString(error.what()));
    }
}

void TDocument::OnFormClosing() {
    auto self = shared_from_this();
    if (preview_) SetPreview(false);
    if (auto* active = manager_.Active()) {
        if (active->Mode() != dmEdit) active->SetMode(dmEdit);
        manager_.ClearActive();
    }
}

void TDocument::OnFormDestroyed() {
    auto self = shared_from_this();
    form_ = nullptr;
    highlighter_ = nullptr;
    if (manager_.Active() == this) manager_.ClearActive();
    manager_.Remove(this);
}

void TDocument::ShowContextMenu(const QPoint& position) {
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
