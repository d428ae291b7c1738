#pragma once

#include "shell/settings/panel_limits.h"
#include "shell/settings/settings_page.h"

class QSpinBox;

namespace korvo {

// The "Layout" page: how many I/O panels stack vertically and how many
// RAM/ROM panels sit side by side. OK sets them for the running program;
// nothing is written to the settings.
class TLayoutPage : public TSettingsPage {
    Q_OBJECT
public:
    TLayoutPage(TPanelLimits& limits, QWidget* parent = nullptr);

    // Shows the program's current limits.
    void Load();

    void Store(ISettingsStore& settings) override;
    void RestoreDefaults() override;
    bool CanRestoreDefaults() const override;
    // The limits live in the program, not in the settings.
    void MarkUnchanged() override { shown_ = Limits(); }
    bool Changed() override { return Limits() != shown_; }

    TPanelLimits Limits() const;

private:
    TPanelLimits& limits_;
    TPanelLimits shown_;
    QSpinBox* ioPanels_ = nullptr;
    QSpinBox* memoryPanels_ = nullptr;
};

} // namespace korvo
