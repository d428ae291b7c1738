#pragma once

#include "common/core_kind.h"
#include "common/log.h"
#include "common/settings.h"

class QWidget;

namespace korvo {

// Shows the settings dialog modally. Returns true when the user closed it
// with OK (the page that was showing has then been stored).
bool ShowSettingsDialog(QWidget* parent, ISettingsStore& settings, TCoreKind coreKind, ILog& log);

} // namespace korvo
