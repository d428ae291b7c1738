#include "shell/settings_dialog.h"

namespace korvo {

// The dialog itself is not built yet; nothing is stored.
bool ShowSettingsDialog(QWidget*, ISettingsStore&, TCoreKind, ILog&) {
    return false;
}

} // namespace korvo
