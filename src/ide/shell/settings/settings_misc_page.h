#pragma once

#include "common/settings_layout.h"
#include "shell/settings/ide_settings.h"
#include "shell/settings/settings_page.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace korvo {

class TCoreBuildGroup;
class TUartSettingsGroup;

// The "Misc" page: the editor's font and typing switches, the simulated
// clock frequency, the scratch pad size, the build of PicoBlaze 6, the UARTs,
// the colours of the program and whether the last session's files open again.
class TMiscPage : public TSettingsPage {
    Q_OBJECT
public:
    explicit TMiscPage(QWidget* parent = nullptr);

    // "Editor", "Time", "ScratchPad", the core build, "UART" and the theme and
    // session switches of "Options".
    void Load(const ISettingsStore& settings);
    // Lists the installed fixed-pitch font families; the font shown stays.
    void FillFontList();

    void Store(ISettingsStore& settings) override;
    void RestoreDefaults() override;
    bool CanRestoreDefaults() const override { return true; }

    // The font the editor settings name (family and size).
    QFont EditorFont() const;
    settings::TEditorSettings EditorSettings() const;

private:
    void ShowEditorSettings(const settings::TEditorSettings& editor);

    QComboBox* fontName_ = nullptr;
    QSpinBox* fontSize_ = nullptr;
    std::array<QCheckBox*, 5> switches_{};
    QLineEdit* frequency_ = nullptr;
    QButtonGroup* scratchPad_ = nullptr;
    TCoreBuildGroup* build_ = nullptr;
    QComboBox* theme_ = nullptr;
    QCheckBox* reopenFiles_ = nullptr;
    TUartSettingsGroup* uart_ = nullptr;
};

// The installed scalable fixed-pitch font families, sorted, each once.
QStringList FixedPitchFontFamilies();

} // namespace korvo
