#pragma once

#include "panels/change_marks.h"

#include <QWidget>
#include <cstdint>
#include <vector>

class QGroupBox;
class QLabel;

namespace korvo {

class TValueLabel;

// A frame showing memory bytes in rows of sixteen, each row headed by its
// first address, with the column numbers 0 to F below. The common part of
// the RAM/ROM frame and the scratch pad frame. Values show as two
// hexadecimal digits; a double click on one asks for it to be edited.
class TMemoryFrame : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 300;
    static constexpr int kRowHeight = 54;

    QGroupBox* GroupBox = nullptr;

    int Base() const { return base_; }
    // Stores the base and writes the range captions.
    void SetBase(int base);
    // " " + text + " ".
    void SetCaption(const QString& text);
    int ValueCount() const { return static_cast<int>(values_.size()); }
    std::int32_t GetValue(int n) const;
    void SetValue(int n, std::int32_t value);
    TValueLabel* ValueLabel(int n) const;
    // The value labels with their values.
    void ListValues(TShownValues& values) const;
    QLabel* RangeLabel(int row) const;

signals:
    void EditRequested(int n);

protected:
    // rows of sixteen values; height in pixels of the group box.
    TMemoryFrame(int rows, int height, QWidget* parent);

private:
    std::vector<std::int32_t> values_;
    std::vector<TValueLabel*> valueLabels_;
    std::vector<QLabel*> rangeLabels_;
    int base_ = 0;
};

} // namespace korvo
