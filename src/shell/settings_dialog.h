#pragma once

#include "common/core_kind.h"

class QWidget;

namespace korvo {

class ILog;
class ISettingsStore;

// Shows the settings dialog modally, filled from the settings; true when the
// user stored its values with OK.
bool ShowSettingsDialog(QWidget* parent, ISettingsStore& settings, TCoreKind coreKind, ILog& log);

} // namespace korvo
