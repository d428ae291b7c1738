#pragma once

#include "panels/port_frame.h"
#include "simulator/io_models.h"

#include <array>

namespace korvo {

class IUserDialogs;
class TLED;

// The frame of an output port, eight LEDs the program lights (green), or of
// a bidirectional port, whose LEDs (red) the user may toggle as well. Bit 7
// is on the left. It shows and edits the port's model, which also keeps the
// log lines.
class TFrameOutput : public TPortFrame {
    Q_OBJECT
public:
    TFrameOutput(TOutputPortModel& model, IUserDialogs& dialogs, TMessageHandler onMessage,
                 QWidget* parent = nullptr);

    // Index = bit number.
    std::array<TLED*, 8> LEDs{};

    TOutputPortModel& Model() const { return model_; }
    bool OutputOnly() const { return outputOnly_; }
    // Output-only: caption " OUT ", green LEDs and no hints (the user cannot
    // change the value); otherwise caption " IO " and red LEDs.
    void SetOutputOnly(bool outputOnly);
    // LEDs and value label from the model.
    void Refresh();

private:
    void ToggleBit(int bit);
    void EnterValue() override;

    TOutputPortModel& model_;
    IUserDialogs& dialogs_;
    TMessageHandler onMessage_;
    bool outputOnly_ = false;
};

} // namespace korvo
