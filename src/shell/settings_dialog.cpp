#include "shell/settings_dialog.h"

namespace korvo {

bool ShowSettingsDialog(QWidget* parent, ISettingsStore& settings, TCoreKind coreKind, ILog& log) {
    (void)parent;
    (void)settings;
    (void)coreKind;
    (void)log;
    return false;
}

} // namespace korvo
