#include "shell/settings/chip_dialog.h"

#include "base/dialog_buttons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

namespace korvo {

namespace {

// Records of type, IR length, ID, IDCODE and USER1 instruction, each ended by ";".
constexpr const char* kChipCatalogueText = "<generic>,1,00000001,1,0;";

constexpr int kMinIRLength = 2;
constexpr int kMaxIRLength = 32;
constexpr int kIdDigits = 8;
constexpr int kInstructionDigits = 4;

// A hexadecimal field as the chain keeps it: an unreadable text counts as 0.
QString HexField(const QString& text, int digits) {
    bool ok = false;
    quint32 value = text.trimmed().toUInt(&ok, 16);
    if (!ok) value = 0;
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

QLineEdit* HexEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9A-Fa-f]{0,8}")), edit));
    QFont mono = edit->font();
    mono.setFamily(QStringLiteral("monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    edit->setFont(mono);
    return edit;
}

} // namespace

std::vector<settings::TChipDescription> ChipCatalogue() {
    std::vector<settings::TChipDescription> catalogue;
    const QStringList records =
        QString::fromLatin1(kChipCatalogueText).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& record : records) {
        QStringList fields = record.split(QLatin1Char(','));
        while (fields.size() < 5)
            fields.append(QString());
        catalogue.push_back({fields[0].toStdString(), fields[1].toStdString(),
                             fields[2].toStdString(), fields[3].toStdString(),
                             fields[4].toStdString()});
    }
    return catalogue;
}

TdlgNewChip::TdlgNewChip(QWidget* parent) : QDialog(parent, Qt::Tool), catalogue_(ChipCatalogue()) {
    setWindowTitle(QStringLiteral("  Chip info"));

    auto* group = new QGroupBox(QStringLiteral(" TAP controller info "), this);
    auto* form = new QFormLayout(group);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    type_ = new QComboBox(group);
    type_->setObjectName(QStringLiteral("cbType"));
    type_->setEditable(true);
    type_->setInsertPolicy(QComboBox::NoInsert);
    for (const auto& entry : catalogue_)
        type_->addItem(QString::fromStdString(entry.Chip));
    form->addRow(QStringLiteral("Type:"), type_);

    irLength_ = new QSpinBox(group);
    irLength_->setObjectName(QStringLiteral("edIRLength"));
    irLength_->setRange(kMinIRLength, kMaxIRLength);
    form->addRow(QStringLiteral("IRLength:"), irLength_);

    id_ = HexEdit(QStringLiteral("edID"), group);
    form->addRow(QStringLiteral("IDCODE:"), id_);
    idcode_ = HexEdit(QStringLiteral("edIDCODE"), group);
    form->addRow(QStringLiteral("IDCODE instr:"), idcode_);
    user1_ = HexEdit(QStringLiteral("edUSER1"), group);
    form->addRow(QStringLiteral("USER1 instr:"), user1_);

    // A field that loses the focus shows its value the way it will be kept.
    connect(id_, &QLineEdit::editingFinished, this,
            [this] { id_->setText(HexField(id_->text(), kIdDigits)); });
    connect(idcode_, &QLineEdit::editingFinished, this,
            [this] { idcode_->setText(HexField(idcode_->text(), kInstructionDigits)); });
    connect(user1_, &QLineEdit::editingFinished, this,
            [this] { user1_->setText(HexField(user1_->text(), kInstructionDigits)); });

    TOkCancelButtons buttons = AddOkCancelButtons(*this, QStringLiteral("&OK"));
    ok_ = buttons.Ok;
    ok_->setObjectName(QStringLiteral("btnOK"));
    buttons.Cancel->setObjectName(QStringLiteral("btnCancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons.Box);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(type_, &QComboBox::currentTextChanged, this, &TdlgNewChip::TypeChanged);
    if (!catalogue_.empty()) {
        type_->setCurrentIndex(0);
        ShowCatalogueEntry(catalogue_.front());
    }
    TypeChanged(type_->currentText());

    // Centred on the screen the dialog opens on.
    if (QScreen* screen = parent ? parent->screen() : this->screen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TdlgNewChip::ShowCatalogueEntry(const settings::TChipDescription& entry) {
    irLength_->setValue(QString::fromStdString(entry.IRLength).toInt());
    id_->setText(HexField(QString::fromStdString(entry.ID), kIdDigits));
    idcode_->setText(HexField(QString::fromStdString(entry.IDCODE), kInstructionDigits));
    user1_->setText(HexField(QString::fromStdString(entry.USER1), kInstructionDigits));
}

void TdlgNewChip::TypeChanged(const QString& type) {
    ok_->setEnabled(!type.isEmpty());
    for (const auto& entry : catalogue_)
        if (QString::fromStdString(entry.Chip) == type) {
            ShowCatalogueEntry(entry);
            break;
        }
}

void TdlgNewChip::SetChip(const settings::TChipDescription& chip) {
    // The type first: a catalogue name would otherwise overwrite the row's values.
    type_->setEditText(QString::fromStdString(chip.Chip));
    ShowCatalogueEntry(chip);
}

settings::TChipDescription TdlgNewChip::Chip() const {
    return {type_->currentText().toStdString(), QString::number(irLength_->value()).toStdString(),
            HexField(id_->text(), kIdDigits).toStdString(),
            HexField(idcode_->text(), kInstructionDigits).toStdString(),
            HexField(user1_->text(), kInstructionDigits).toStdString()};
}

} // namespace korvo
