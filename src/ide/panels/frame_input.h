#pragma once

#include "panels/port_frame.h"

#include <array>

class QCheckBox;

namespace korvo {

class IUserDialogs;
class TInputPortModel;

// The frame of an input port: eight switches the user sets (bit 7 on the
// left) and the value they make, which the program reads. It shows and
// edits the port's model; a stimulus file, when the port has one, feeds
// the model itself.
class TFrameInput : public TPortFrame {
    Q_OBJECT
public:
    TFrameInput(TInputPortModel& model, IUserDialogs& dialogs, QWidget* parent = nullptr);

    // Index = bit number.
    std::array<QCheckBox*, 8> Switches{};

    TInputPortModel& Model() const { return model_; }
    // Switches and value label from the model.
    void Refresh();

private:
    void FlipBit(int bit);
    void EnterValue() override;

    TInputPortModel& model_;
    IUserDialogs& dialogs_;
    bool updating_ = false;
};

} // namespace korvo
