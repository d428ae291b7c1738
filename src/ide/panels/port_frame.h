#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;

namespace korvo {

class TValueLabel;

// What the frames of input and output ports share: a group box named after
// the port, the port address and the value above each other at the left,
// and eight bit columns (bit 7 on the left) with their digits below.
class TPortFrame : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 190;
    static constexpr int kHeight = 50;

    QGroupBox* GroupBox = nullptr;
    QLabel* PortLabel = nullptr;
    TValueLabel* ValueLabel = nullptr;

    void SetPort(int port);
    void SetName(const QString& name);

protected:
    TPortFrame(const QString& caption, QWidget* parent);

    // The left edge of a bit's column.
    static int BitColumn(int bit);
    // The bit number below a column, its left edge at x.
    void AddBitDigit(int bit, int x);
    // A double click on the value label asks for a new value.
    virtual void EnterValue() = 0;
};

} // namespace korvo
