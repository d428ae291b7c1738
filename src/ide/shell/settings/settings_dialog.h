#pragma once

#include "common/core_kind.h"
#include "common/log.h"
#include "common/settings.h"
#include "shell/settings/panel_limits.h"

#include <QDialog>
#include <array>

class QPushButton;
class QTabWidget;

namespace korvo {

class TFormatPage;
class TJtagPage;
class TLayoutPage;
class TMiscPage;
class TSettingsPage;

// The settings dialog: the pages "Format", "Layout", "JTAG" and "Misc".
// OK stores the page that is showing and every page the user changed;
// "Default" puts the showing page's values back to their defaults. The
// dialog is 600 by 400 pixels, wider or higher only when the Format page's
// sample needs it to show its lines whole in a large editor font.
class TdlgSettings : public QDialog {
    Q_OBJECT
public:
    enum TPage { pgFormat, pgLayout, pgJtag, pgMisc };

    // Reads everything the pages show. The target preset for coreKind stands
    // in while no target is stored. Failures to read the scan chain go to
    // the log.
    TdlgSettings(ISettingsStore& settings, TCoreKind coreKind, ILog& log, TPanelLimits& panelLimits,
                 QWidget* parent = nullptr);

    TJtagPage* JtagPage() const { return jtag_; }
    QPushButton* DefaultButton() const { return default_; }

    // Stores the showing page and the changed ones and closes; a failure to
    // write is shown and the dialog stays open.
    void accept() override;

protected:
    // F1 opens the manual at the section of the page that shows.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowPageHelp();
    TSettingsPage* ShowingPage() const;
    std::array<TSettingsPage*, 4> Pages() const;
    void FitToSample();
    void RestoreDefaults();
    void UpdateDefaultButton();

    ISettingsStore& settings_;
    QTabWidget* pages_ = nullptr;
    TFormatPage* format_ = nullptr;
    TLayoutPage* layout_ = nullptr;
    TJtagPage* jtag_ = nullptr;
    TMiscPage* misc_ = nullptr;
    QPushButton* default_ = nullptr;
};

// Shows the settings dialog modally. Returns true when the user closed it
// with OK (the page that was showing has then been stored). The Layout page
// edits panelLimits.
bool ShowSettingsDialog(QWidget* parent, ISettingsStore& settings, TCoreKind coreKind, ILog& log,
                        TPanelLimits& panelLimits = ProcessPanelLimits());

} // namespace korvo
