#include "panels/ram_rom_entry_form.h"

#include "base/dialog_buttons.h"
#include "common/hex_text.h"
#include "panels/panel_widgets.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvo {

TRAMROMEntryForm::TRAMROMEntryForm(int address, std::int32_t value, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("RAMROMEntryForm"));
    setWindowTitle(QStringLiteral("  Modify"));
    setModal(true);

    AddressLabel = new QLabel(HexDigits(address, 2), this);
    AddressLabel->setObjectName(QStringLiteral("AddressLabel"));
    AddressLabel->setFont(PanelDigitFont());
    ValueEdit = new QLineEdit(HexDigits(value, 2), this);
    ValueEdit->setObjectName(QStringLiteral("ValueEdit"));
    ValueEdit->setFont(PanelDigitFont());
    ValueEdit->setMaxLength(8);
    ValueEdit->setFixedWidth(ValueEdit->fontMetrics().horizontalAdvance(QStringLiteral("WWWWW")));
    ValueEdit->selectAll();

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Address: $"), this), 0, 0, Qt::AlignRight);
    fields->addWidget(AddressLabel, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Value: $"), this), 1, 0, Qt::AlignRight);
    fields->addWidget(ValueEdit, 1, 1);
    fields->setColumnStretch(2, 1);

    QDialogButtonBox* buttons = AddOkCancelButtons(*this).Box;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::int32_t TRAMROMEntryForm::Value() const {
    return ByteValue(ValueEdit->text());
}

std::int64_t TRAMROMEntryForm::ParseValue(const QString& text) {
    auto value = ParseHex(text.trimmed().toStdString());
    return value && *value <= 0xFFFFFFFFu ? static_cast<std::int64_t>(*value) : 0;
}

} // namespace korvo
