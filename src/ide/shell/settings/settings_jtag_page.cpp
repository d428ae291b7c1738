#include "shell/settings/settings_jtag_page.h"

#include "shell/settings/chain_list.h"
#include "shell/settings/chip_dialog.h"
#include "shell/settings/stepped_spin_box.h"

#include "common/jtag_widths.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QRadioButton>
#include <QVBoxLayout>

namespace korvo {

namespace {

constexpr int kNarrowDataWidth = kJtagNarrowDataWidth;
constexpr int kWideDataWidth = kJtagWideDataWidth;
constexpr int kMinAddressWidth = kJtagMinAddressWidth;
constexpr int kMaxAddressWidth = kJtagMaxAddressWidth;
constexpr int kAddressWidthStep = 2;

// The smallest address width that goes with a data width: an 8-bit register
// takes an odd address width, a 16-bit one an even width.
int AddressWidthBase(int dataWidth) {
    return dataWidth == kNarrowDataWidth ? kMinAddressWidth + 1 : kMinAddressWidth;
}

TChainListWidget* AddChainList(const QString& caption, const QString& name, QWidget* page,
                               QVBoxLayout* column, int stretch) {
    auto* group = new QGroupBox(caption, page);
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(6, 4, 6, 6);
    auto* list = new TChainListWidget(group);
    list->setObjectName(name);
    list->setToolTip(QStringLiteral("Use right button to open menu"));
    layout->addWidget(list);
    column->addWidget(group, stretch);
    return list;
}

} // namespace

TJtagPage::TJtagPage(QWidget* parent) : TSettingsPage(parent) {
    auto* lists = new QVBoxLayout;
    lists->setSpacing(4);
    before_ = AddChainList(QStringLiteral(" Chips before the target "),
                           QStringLiteral("beforeList"), this, lists, 3);
    target_ =
        AddChainList(QStringLiteral(" Target Chip "), QStringLiteral("targetList"), this, lists, 0);
    after_ = AddChainList(QStringLiteral(" Chips after the target "), QStringLiteral("afterList"),
                          this, lists, 3);
    before_->SetDragPartner(after_);
    after_->SetDragPartner(before_);
    // The target list holds one row: header and that row, no more.
    target_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    target_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    target_->setFixedHeight(target_->header()->sizeHint().height() +
                            target_->fontMetrics().height() + 12);

    auto* registerGroup = new QGroupBox(QStringLiteral(" JTAG register "), this);
    auto* registerLayout = new QFormLayout(registerGroup);
    dataWidth_ = new TSteppedSpinBox(kNarrowDataWidth, kWideDataWidth - kNarrowDataWidth,
                                     kWideDataWidth, registerGroup);
    dataWidth_->setObjectName(QStringLiteral("dataWidth"));
    addressWidth_ =
        new TSteppedSpinBox(kMinAddressWidth, kAddressWidthStep, kMaxAddressWidth, registerGroup);
    addressWidth_->setObjectName(QStringLiteral("addressWidth"));
    registerLayout->addRow(QStringLiteral("Data width"), dataWidth_);
    registerLayout->addRow(QStringLiteral("Address width"), addressWidth_);

    auto* sequenceGroup = new QGroupBox(QStringLiteral(" Sequence "), this);
    auto* sequenceLayout = new QVBoxLayout(sequenceGroup);
    dataFirst_ = new QRadioButton(QStringLiteral("Data first"), sequenceGroup);
    dataFirst_->setObjectName(QStringLiteral("dataFirst"));
    addressFirst_ = new QRadioButton(QStringLiteral("Address first"), sequenceGroup);
    addressFirst_->setObjectName(QStringLiteral("addressFirst"));
    sequenceLayout->addWidget(dataFirst_);
    sequenceLayout->addWidget(addressFirst_);

    auto* side = new QVBoxLayout;
    side->addWidget(registerGroup);
    side->addWidget(sequenceGroup);
    side->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(side);

    SetWidths(kWideDataWidth, kWideDataWidth);
    dataFirst_->setChecked(true);
    connect(dataWidth_, &QSpinBox::valueChanged, this, &TJtagPage::DataWidthChanged);

    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("chainMenu"));
    newChip_ = menu_->addAction(QStringLiteral("New Chip"), this, &TJtagPage::NewChip);
    editChip_ = menu_->addAction(QStringLiteral("Edit Chip"), this, &TJtagPage::EditChip);
    deleteChip_ = menu_->addAction(QStringLiteral("Delete Chip"), this, &TJtagPage::DeleteChip);
    menu_->addSeparator();
    menu_->addAction(QStringLiteral("Cancel"));
    connect(menu_, &QMenu::aboutToShow, this, &TJtagPage::UpdateChainMenu);

    for (TChainListWidget* list : {before_, target_, after_}) {
        connect(list, &QWidget::customContextMenuRequested, this,
                [this, list](const QPoint& position) { ShowChainMenu(list, position); });
        connect(list, &TChainListWidget::RowsChanged, this, &TSettingsPage::DefaultStateChanged);
    }
}

void TJtagPage::SetWidths(int addressWidth, int dataWidth) {
    const QSignalBlocker blocker(dataWidth_);
    dataWidth_->setValue(dataWidth);
    addressWidth_->SetBase(AddressWidthBase(dataWidth_->value()));
    addressWidth_->setValue(addressWidth);
}

void TJtagPage::DataWidthChanged(int dataWidth) {
    // First even, then odd again for the narrow register.
    int address = addressWidth_->value() & ~1;
    if (dataWidth == kNarrowDataWidth) address += 1;
    addressWidth_->SetBase(AddressWidthBase(dataWidth));
    addressWidth_->setValue(address);
}

void TJtagPage::Load(const ISettingsStore& settings, ILog& log) {
    settings::TScanChain chain;
    try {
        // Keys never written are no failure: the page shows no devices and
        // the target preset then.
        settings::LoadScanChain(settings, settings::TChainKeys::OptionalKeys, chain);
    } catch (const std::exception& failure) {
        log.Failure(failure.what() + std::string("; SVF data not yet set"));
    }
    before_->SetRows(chain.Before);
    target_->SetRows({});
    if (chain.Target) {
        if (!chain.Target->Device.Chip.empty()) target_->AppendRow(chain.Target->Device);
        SetWidths(chain.Target->AddressWidth, chain.Target->DataWidth);
        (chain.Target->AddressFirst ? addressFirst_ : dataFirst_)->setChecked(true);
    }
    after_->SetRows(chain.After);
}

void TJtagPage::FillTargetPreset(TCoreKind coreKind) {
    if (target_->RowCount() == 0) target_->AppendRow(settings::TargetPreset(coreKind));
}

settings::TScanChain TJtagPage::Chain() const {
    settings::TScanChain chain;
    chain.Before = before_->Rows();
    if (target_->RowCount() > 0 && !target_->Row(0).Chip.empty())
        chain.Target = settings::TScanTarget{target_->Row(0), addressWidth_->value(),
                                             dataWidth_->value(), addressFirst_->isChecked()};
    chain.After = after_->Rows();
    return chain;
}

void TJtagPage::Store(ISettingsStore& settings) {
    settings::StoreScanChain(settings, Chain());
}

void TJtagPage::RestoreDefaults() {
    before_->SetRows({});
    after_->SetRows({});
}

bool TJtagPage::CanRestoreDefaults() const {
    return before_->RowCount() > 0 && after_->RowCount() > 0;
}

void TJtagPage::ShowChainMenu(TChainListWidget* list, const QPoint& position) {
    list->setFocus(Qt::PopupFocusReason);
    menuList_ = list;
    menu_->popup(list->viewport()->mapToGlobal(position));
}

void TJtagPage::UpdateChainMenu() {
    bool outerList = menuList_ == before_ || menuList_ == after_;
    bool rowSelected = menuList_ && menuList_->SelectedRow() >= 0;
    newChip_->setEnabled(outerList);
    editChip_->setEnabled(menuList_ && rowSelected);
    deleteChip_->setEnabled(outerList && rowSelected);
}

void TJtagPage::NewChip() {
    TChainListWidget* list = menuList_;
    if (list != before_ && list != after_) return;
    TdlgNewChip dialog(this);
    if (dialog.exec() == QDialog::Accepted) list->AppendRow(dialog.Chip());
}

void TJtagPage::EditChip() {
    TChainListWidget* list = menuList_;
    if (!list) return;
    int row = list->SelectedRow();
    if (row < 0) return;
    TdlgNewChip dialog(this);
    dialog.SetChip(list->Row(row));
    if (dialog.exec() == QDialog::Accepted) list->ReplaceRow(row, dialog.Chip());
}

void TJtagPage::DeleteChip() {
    TChainListWidget* list = menuList_;
    if (list != before_ && list != after_) return;
    list->RemoveRow(list->SelectedRow());
}

} // namespace korvo
