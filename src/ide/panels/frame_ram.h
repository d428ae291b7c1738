#pragma once

#include "panels/memory_frame.h"

namespace korvo {

// One block of sixteen RAM or ROM ports, as the program's port map holds
// them.
class TFrameRAM : public TMemoryFrame {
    Q_OBJECT
public:
    static constexpr int kHeight = kRowHeight;

    explicit TFrameRAM(QWidget* parent = nullptr);

    QLabel* LabelRange = nullptr;
    bool ReadOnly() const { return readOnly_; }
    // Caption " ROM " or " RAM ".
    void SetReadOnly(bool readOnly);

private:
    bool readOnly_ = false;
};

} // namespace korvo
