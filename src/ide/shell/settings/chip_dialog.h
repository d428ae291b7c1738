#pragma once

#include "common/settings_layout.h"

#include <QDialog>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace korvo {

// The chip types the chip dialog offers, each with the values it fills in.
std::vector<settings::TChipDescription> ChipCatalogue();

// Describes one device of the JTAG scan chain: its type, the length of its
// instruction register, its identification code and its IDCODE and USER1
// instructions. Opens with the first catalogue entry.
class TdlgNewChip : public QDialog {
    Q_OBJECT
public:
    explicit TdlgNewChip(QWidget* parent = nullptr);

    // Shows a device's values (a row being edited).
    void SetChip(const settings::TChipDescription& chip);
    // The values as a chain row keeps them: IR length in decimal, ID with 8
    // hexadecimal digits, the instructions with at least 4.
    settings::TChipDescription Chip() const;

private:
    void TypeChanged(const QString& type);
    void ShowCatalogueEntry(const settings::TChipDescription& entry);

    std::vector<settings::TChipDescription> catalogue_;
    QComboBox* type_ = nullptr;
    QSpinBox* irLength_ = nullptr;
    QLineEdit* id_ = nullptr;
    QLineEdit* idcode_ = nullptr;
    QLineEdit* user1_ = nullptr;
    QPushButton* ok_ = nullptr;
};

} // namespace korvo
