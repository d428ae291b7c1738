// The file and edit commands: caption, hint, shortcut, glyph, what they do
// and when they are enabled.
#include "shell/app/workbench.h"
#include "shell/commands/action_list.h"
#include "shell/commands/commands.h"
#include "shell/document/document.h"
#include "shell/document/document_list.h"

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

void TCommandsDataModule::ExecuteFormat() {
    if (auto* edit = ActiveEditCommands()) edit->Format(columns_);
}

} // namespace korvo
