#include "shell/settings/settings_layout_page.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace korvo {

namespace {

QSpinBox* AddLimitRow(QWidget* page, QVBoxLayout* pageLayout, const QString& groupCaption,
                      const QString& caption, const QString& name, int minimum, int maximum) {
    auto* group = new QGroupBox(groupCaption, page);
    auto* row = new QHBoxLayout(group);
    auto* box = new QSpinBox(group);
    box->setObjectName(name);
    box->setRange(minimum, maximum);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 40);
    auto* label = new QLabel(caption, group);
    label->setBuddy(box);
    row->addWidget(label, 1);
    row->addWidget(box);
    pageLayout->addWidget(group);
    return box;
}

} // namespace

TLayoutPage::TLayoutPage(TPanelLimits& limits, QWidget* parent)
    : TSettingsPage(parent), limits_(limits) {
    auto* layout = new QVBoxLayout(this);
    ioPanels_ = AddLimitRow(this, layout, QStringLiteral(" IO Panelization "),
                            QStringLiteral("Maximum number of IO panels, vertically:"),
                            QStringLiteral("ioPanels"), TPanelLimits::kMinIoPanelsVertical,
                            TPanelLimits::kMaxIoPanelsVertical);
    memoryPanels_ =
        AddLimitRow(this, layout, QStringLiteral(" RAM/ROM Panelization "),
                    QStringLiteral("Maximum number of RAM/ROM panels, horizontally:"),
                    QStringLiteral("memoryPanels"), TPanelLimits::kMinMemoryPanelsHorizontal,
                    TPanelLimits::kMaxMemoryPanelsHorizontal);
    layout->addStretch();
    connect(ioPanels_, &QSpinBox::valueChanged, this, &TSettingsPage::DefaultStateChanged);
    connect(memoryPanels_, &QSpinBox::valueChanged, this, &TSettingsPage::DefaultStateChanged);
    Load();
}

void TLayoutPage::Load() {
    ioPanels_->setValue(limits_.IoPanelsVertical);
    memoryPanels_->setValue(limits_.MemoryPanelsHorizontal);
}

TPanelLimits TLayoutPage::Limits() const {
    return {ioPanels_->value(), memoryPanels_->value()};
}

void TLayoutPage::Store(ISettingsStore&) {
    limits_ = Limits();
}

void TLayoutPage::RestoreDefaults() {
    ioPanels_->setValue(TPanelLimits::kDefaultIoPanelsVertical);
    memoryPanels_->setValue(TPanelLimits::kDefaultMemoryPanelsHorizontal);
}

bool TLayoutPage::CanRestoreDefaults() const {
    return Limits() != TPanelLimits{};
}

} // namespace korvo
