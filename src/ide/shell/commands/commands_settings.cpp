// The settings commands and the choice of core.
#include "base/theme.h"
#include "base/user_dialogs.h"
#include "common/log.h"
#include "common/settings_layout.h"
#include "shell/commands/action_list.h"
#include "shell/commands/commands.h"
#include "shell/commands/core_menu.h"
#include "shell/settings/ide_settings.h"

namespace korvo {

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
        TCoreMenuEntry entry = CoreMenuEntry(kind);
        QKeySequence shortcut =
            i < 9 ? QKeySequence(Qt::CTRL | (Qt::Key_1 + static_cast<int>(i))) : QKeySequence();
        actCores[i] = actions_.AddCheckable(
            {entry.ActionName,
             QString::fromUtf8(core.Title.data(), core.Title.size()),
             QString::fromUtf8(entry.Hint),
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

} // namespace korvo
