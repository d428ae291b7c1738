// The commands of the command module: caption, hint, shortcut, glyph,
// what they do and when they are enabled.
#include "base/theme.h"
#include "base/user_dialogs.h"
#include "common/log.h"
#include "common/settings_layout.h"
#include "shell/app/workbench.h"
#include "shell/commands/action_list.h"
#include "shell/commands/commands.h"
#include "shell/document/document_manager.h"
#include "shell/document/editor.h"
#include "shell/document/source_editor.h"

namespace korvo {

void TCommandsDataModule::CreateFileAndEditCommands() {
    auto file = [this] { return ActiveFileCommands(); };
    auto edit = [this] { return ActiveEditCommands(); };

    actFileSave = actions_.Add(
        {"actFileSave", "&Save", "Save to File", QKeySequence(Qt::CTRL | Qt::Key_S), "file-save"},
        [=, this] {
            if (auto* f = file()) f->Save();
        },
        [=, this](QAction& a) { a.setEnabled(file() && file()->CanSave() && !PreviewOn()); });
    actFileSaveAs = actions_.Add(
        {"actFileSaveAs", "Save &As...", "Save To New File", {}, "file-save-as"},
        [=, this] {
            if (auto* f = file()) f->SaveAs();
        },
        [=, this](QAction& a) { a.setEnabled(file() && file()->CanSaveAs() && !PreviewOn()); });
    actFileClose = actions_.Add(
        {"actFileClose", "&Close", "Close Document", QKeySequence(Qt::CTRL | Qt::Key_F4),
         "file-close"},
        [=, this] {
            if (auto* f = file()) f->Close();
        },
        [=, this](QAction& a) {
            a.setEnabled(file() && file()->CanClose() && EditMode() && !PreviewOn());
        });
    actFilePrint = actions_.Add(
        {"actFilePrint", "&Print...", "Print Document", QKeySequence(Qt::CTRL | Qt::Key_P),
         "print"},
        [=, this] {
            if (auto* f = file()) f->Print();
        },
        [=, this](QAction& a) { a.setEnabled(file() && file()->CanPrint()); });
    actFilePreview = actions_.AddCheckable(
        {"actFilePreview", "Preview", "Preview Document", {}, "preview"},
        [=, this] {
            if (auto* f = file()) f->SetPreview(!f->Preview());
        },
        [=, this](QAction& a) {
            a.setEnabled(file() && file()->CanPrint());
            a.setChecked(PreviewOn());
        });

    struct TEditCommand {
        QAction** Target;
        TCommandInfo Info;
        bool (IDocumentEditCommands::*Can)() const;
        void (IDocumentEditCommands::*Run)();
    };
    const TEditCommand editCommands[] = {
        {&actEditCut,
         {"actEditCut", "Cu&t", "Cut", QKeySequence(Qt::CTRL | Qt::Key_X), "cut"},
         &IDocumentEditCommands::CanCut,
         &IDocumentEditCommands::Cut},
        {&actEditCopy,
         {"actEditCopy", "&Copy", "Copy", QKeySequence(Qt::CTRL | Qt::Key_C), "copy"},
         &IDocumentEditCommands::CanCopy,
         &IDocumentEditCommands::Copy},
        {&actEditPaste,
         {"actEditPaste", "&Paste", "Paste from Clipboard", QKeySequence(Qt::CTRL | Qt::Key_V),
          "paste"},
         &IDocumentEditCommands::CanPaste,
         &IDocumentEditCommands::Paste},
        {&actEditDelete,
         {"actEditDelete", "De&lete", "Delete", {}, "delete"},
         &IDocumentEditCommands::CanDelete,
         &IDocumentEditCommands::Delete},
        {&actEditUndo,
         {"actEditUndo", "&Undo", "Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), "undo"},
         &IDocumentEditCommands::CanUndo,
         &IDocumentEditCommands::Undo},
        {&actEditRedo,
         {"actEditRedo", "&Redo", "Redo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), "redo"},
         &IDocumentEditCommands::CanRedo,
         &IDocumentEditCommands::Redo},
        {&actEditSelectAll,
         {"actEditSelectAll", "Select &All", "Select All", QKeySequence(Qt::CTRL | Qt::Key_A),
          "select-all"},
         &IDocumentEditCommands::CanSelectAll,
         &IDocumentEditCommands::SelectAll},
    };
    for (const auto& command : editCommands) {
        auto can = command.Can;
        auto run = command.Run;
        *command.Target = actions_.Add(
            command.Info,
            [=, this] {
                if (auto* e = edit()) (e->*run)();
            },
            [=, this](QAction& a) { a.setEnabled(edit() && (edit()->*can)() && !PreviewOn()); });
    }

    actComment = actions_.Add(
        {"actComment", "Comment", {}, {}, "comment"},
        [=, this] {
            if (auto* e = edit()) e->Comment();
        },
        [=, this](QAction& a) { a.setEnabled(edit() && edit()->CanComment()); });
    actFormat = actions_.Add(
        {"actFormat", "Format", "Format", {}, "format"}, [this] { ExecuteFormat(); },
        [=, this](QAction& a) { a.setEnabled(EditMode() && ActiveDocument() && !PreviewOn()); });
}

void TCommandsDataModule::CreateSearchCommands() {
    auto search = [this] { return ActiveSearchCommands(); };
    actSearchFind = actions_.Add(
        {"actSearchFind", "&Find...", "Find Text", QKeySequence(Qt::CTRL | Qt::Key_F), "find"},
        [=, this] {
            if (auto* s = search()) s->Find();
        },
        [=, this](QAction& a) { a.setEnabled(search() && search()->CanFind() && !PreviewOn()); });
    actSearchFindNext = actions_.Add(
        {"actSearchFindNext", "Find &Fwd", "Find Next", QKeySequence(Qt::Key_F3), "find-next"},
        [=, this] {
            if (auto* s = search()) s->FindNext();
        },
        [=, this](QAction& a) {
            a.setEnabled(search() && search()->CanFindNext() && !PreviewOn());
        });
    actSearchFindPrev = actions_.Add(
        {"actSearchFindPrev", "Find &Back", "Find Previous", QKeySequence(Qt::SHIFT | Qt::Key_F3),
         "find-prev"},
        [=, this] {
            if (auto* s = search()) s->FindPrev();
        },
        [=, this](QAction& a) {
            a.setEnabled(search() && search()->CanFindPrev() && !PreviewOn());
        });
    actSearchReplace = actions_.Add(
        {"actSearchReplace", "&Replace", "Replace Text", QKeySequence(Qt::CTRL | Qt::Key_H),
         "replace"},
        [=, this] {
            if (auto* s = search()) s->Replace();
        },
        [=, this](QAction& a) {
            a.setEnabled(search() && search()->CanReplace() && EditMode() && !PreviewOn());
        });
}

void TCommandsDataModule::CreateNavigationCommands() {
    actGotoLine = actions_.Add(
        {"actGotoLine",
         "&Go to Line...",
         "Go to a line of the text",
         QKeySequence(Qt::CTRL | Qt::Key_G),
         {}},
        [this] {
            auto* document = ActiveDocument();
            auto* editor = workbench_.Documents().ActiveEditor();
            if (!document || !editor || !editor->TextControl()) return;
            int line = document->GetCaretPos().Line;
            if (dialogs_.AskLineNumber(DialogParent(), editor->TextControl()->lines(), line))
                document->SetCaretPos({line, 1});
        },
        [this](QAction& a) { a.setEnabled(ActiveDocument() && !PreviewOn()); });
    actGotoDefinition = actions_.Add(
        {"actGotoDefinition",
         "Go to &Definition",
         "Go to where the name at the caret is defined",
         QKeySequence(Qt::Key_F2),
         {}},
        [this] {
            auto* editor = workbench_.Documents().ActiveEditor();
            if (!editor || !editor->TextControl()) return;
            auto* text = editor->TextControl();
            if (!editor->GotoDefinition(
                    static_cast<int>(text->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS))))
                dialogs_.Beep();
        },
        [this](QAction& a) { a.setEnabled(ActiveDocument() && !PreviewOn()); });
}

void TCommandsDataModule::CreateSettingsCommands() {
    actSettings = actions_.Add(
        {"actSettings", "Options", "General Settings", QKeySequence(Qt::Key_F10), "settings"},
        [this] { ExecuteSettings(); },
        [this](QAction& a) {
            // Without a document the command keeps its last state.
            if (auto* simulation = ActiveSimulation()) a.setEnabled(simulation->Mode() == dmEdit);
        });
    actEditor = actions_.Add({"actEditor", "Editor", {}, {}, {}}, {},
                             [](QAction& a) { a.setEnabled(false); });
    actTarget = actions_.Add({"actTarget", "Target", {}, {}, {}}, {},
                             [](QAction& a) { a.setEnabled(false); });
    actEditor->setEnabled(false);
    actTarget->setEnabled(false);

    // Ctrl+1 selects the first core, Ctrl+2 the second, and so on.
    for (std::size_t i = 0; i < kCores.size(); ++i) {
        const TCoreDescription& core = kCores[i];
        TCoreKind kind = core.Kind;
        QKeySequence shortcut =
            i < 9 ? QKeySequence(Qt::CTRL | (Qt::Key_1 + static_cast<int>(i))) : QKeySequence();
        actCores[i] = actions_.AddCheckable(
            {core.ActionName.data(), // the table's names are literals, so terminated
             QString::fromUtf8(core.MenuCaption.data(), core.MenuCaption.size()),
             QString::fromUtf8(core.MenuHint.data(), core.MenuHint.size()),
             shortcut,
             {}},
            [this, kind] { SelectCore(kind); },
            [this, kind](QAction& a) {
                auto* simulation = ActiveSimulation();
                a.setEnabled(!simulation || simulation->Mode() == dmEdit);
                a.setChecked(ShownCoreKind() == kind);
            });
    }
    CoreAction(kDefaultCoreKind)->setChecked(true);
}

QAction* TCommandsDataModule::CoreAction(TCoreKind kind) const {
    return IsCoreKind(kind) ? actCores[static_cast<std::size_t>(kind) - 1] : nullptr;
}

void TCommandsDataModule::ExecuteSettings() {
    if (!dialogs_.EditSettings(DialogParent(), settings_, coreKind_, Log())) return;
    ApplyTheme(settings::LoadThemeChoice(settings_));
    LoadHighlighterAttributes();
    ReadColumns();
}

void TCommandsDataModule::ExecuteFormat() {
    if (auto* edit = ActiveEditCommands()) edit->Format(columns_);
}

} // namespace korvo
