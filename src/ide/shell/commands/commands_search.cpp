// The search and navigation commands: caption, hint, shortcut, glyph,
// what they do and when they are enabled.
#include "base/user_dialogs.h"
#include "shell/app/workbench.h"
#include "shell/commands/action_list.h"
#include "shell/commands/commands.h"
#include "shell/document/document.h"
#include "shell/document/document_list.h"
#include "shell/document/source_editor.h"

namespace korvo {

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
            auto* editor = workbench_.Documents().Active();
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
            auto* editor = workbench_.Documents().Active();
            if (!editor || !editor->TextControl()) return;
            auto* text = editor->TextControl();
            if (!editor->GotoDefinition(
                    static_cast<int>(text->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS))))
                dialogs_.Beep();
        },
        [this](QAction& a) { a.setEnabled(ActiveDocument() && !PreviewOn()); });
}

} // namespace korvo
