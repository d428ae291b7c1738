#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QLabel;
class QLineEdit;

namespace korvo {

// The value-entry dialog of the panels: shows an address and lets the user
// type a new value for it in hexadecimal.
class TRAMROMEntryForm : public QDialog {
    Q_OBJECT
public:
    TRAMROMEntryForm(int address, std::int32_t value, QWidget* parent = nullptr);

    QLabel* AddressLabel = nullptr;
    QLineEdit* ValueEdit = nullptr;

    // The typed value cut to 8 bits.
    std::int32_t Value() const;

    // A text read as a hexadecimal number; 0 when it is not one.
    static std::int64_t ParseValue(const QString& text);
    // What the panels store for a typed text: the number cut to 8 bits.
    static std::int32_t ByteValue(const QString& text) {
        return static_cast<std::int32_t>(ParseValue(text) & 0xFF);
    }
};

} // namespace korvo
