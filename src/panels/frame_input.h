#pragma once

#include <QWidget>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;

namespace korvo {

class IUserDialogs;
class TInputPortModel;
class TValueLabel;

// The frame of an input port: eight switches the user sets (bit 7 on the
// left) and the value they make, which the program reads. It shows and
// edits the port's model; a stimulus file, when the port has one, feeds
// the model itself.
class TFrameInput : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 190;
    static constexpr int kHeight = 50;

    TFrameInput(TInputPortModel& model, IUserDialogs& dialogs, QWidget* parent = nullptr);

    QGroupBox* GroupBox = nullptr;
    QLabel* PortLabel = nullptr;
    TValueLabel* ValueLabel = nullptr;
    // Index = bit number.
    std::array<QCheckBox*, 8> Switches{};

    TInputPortModel& Model() const { return model_; }
    void SetPort(int port);
    void SetName(const QString& name);
    // Switches and value label from the model.
    void Refresh();

private:
    void FlipBit(int bit);
    void EnterValue();

    TInputPortModel& model_;
    IUserDialogs& dialogs_;
    bool updating_ = false;
};

} // namespace korvo
