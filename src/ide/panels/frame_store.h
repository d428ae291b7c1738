#pragma once

#include "panels/memory_frame.h"

namespace korvo {

// Sixty-four bytes of the scratch pad in four rows; places at or beyond the
// count (a scratch pad smaller than 64 bytes) are disabled.
class TFrameStore : public TMemoryFrame {
    Q_OBJECT
public:
    static constexpr int kHeight = 2 * kRowHeight;

    explicit TFrameStore(QWidget* parent = nullptr);

    int Count() const { return count_; }
    void SetCount(int count);

private:
    int count_ = 64;
};

} // namespace korvo
