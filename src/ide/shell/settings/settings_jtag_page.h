#pragma once

#include "common/core_kind.h"
#include "common/log.h"
#include "common/settings_layout.h"
#include "shell/settings/settings_page.h"

class QAction;
class QMenu;
class QRadioButton;

namespace korvo {

class TChainListWidget;
class TSteppedSpinBox;

// The "JTAG" page: the scan chain the SVF file loads the program through
// (the devices before the target, the target, the devices after it) and the
// layout of the target's data register.
class TJtagPage : public TSettingsPage {
    Q_OBJECT
public:
    explicit TJtagPage(QWidget* parent = nullptr);

    // Reads the chain. A failure stops the reading, logs it and leaves what
    // was read.
    void Load(const ISettingsStore& settings, ILog& log);
    // Proposes the core's usual target while the target list is empty.
    void FillTargetPreset(TCoreKind coreKind);

    void Store(ISettingsStore& settings) override;
    void RestoreDefaults() override;
    bool CanRestoreDefaults() const override;

    // The chain as the page shows it.
    settings::TScanChain Chain() const;

    TChainListWidget* BeforeList() const { return before_; }
    TChainListWidget* TargetList() const { return target_; }
    TChainListWidget* AfterList() const { return after_; }
    // The right-button menu of the lists, with the actions "New Chip",
    // "Edit Chip", "Delete Chip" and "Cancel".
    QMenu* ChainMenu() const { return menu_; }

private:
    void ShowChainMenu(TChainListWidget* list, const QPoint& position);
    void UpdateChainMenu();
    void NewChip();
    void EditChip();
    void DeleteChip();
    void DataWidthChanged(int dataWidth);
    void SetWidths(int addressWidth, int dataWidth);

    TChainListWidget* before_ = nullptr;
    TChainListWidget* target_ = nullptr;
    TChainListWidget* after_ = nullptr;
    // The list whose menu is open: the one that has the focus.
    TChainListWidget* menuList_ = nullptr;
    TSteppedSpinBox* dataWidth_ = nullptr;
    TSteppedSpinBox* addressWidth_ = nullptr;
    QRadioButton* dataFirst_ = nullptr;
    QRadioButton* addressFirst_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* newChip_ = nullptr;
    QAction* editChip_ = nullptr;
    QAction* deleteChip_ = nullptr;
};

} // namespace korvo
