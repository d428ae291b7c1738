#include "panels/memory_grid.h"

#include <algorithm>

namespace korvo {

TMemoryGrid::TMemoryGrid(int maxHorizontal)
    : columns_(std::clamp(maxHorizontal, 1, kMaxColumns)),
      blocked_(static_cast<std::size_t>(columns_ * kInitialRows), false) {}

bool TMemoryGrid::Free(int row, int column) const {
    std::size_t index = static_cast<std::size_t>(row * columns_ + column);
    return index >= blocked_.size() || !blocked_[index];
}

void TMemoryGrid::Block(int row, int column) {
    std::size_t index = static_cast<std::size_t>(row * columns_ + column);
    if (index >= blocked_.size()) blocked_.resize((static_cast<std::size_t>(row) + 1) * columns_);
    blocked_[index] = true;
}

TMemoryGrid::TCell TMemoryGrid::TakeCell() {
    for (int row = 0;; ++row)
        for (int column = 0; column < columns_; ++column)
            if (Free(row, column)) {
                Block(row, column);
                return {row, column};
            }
}

TMemoryGrid::TCell TMemoryGrid::TakePair() {
    for (int row = 0;; ++row)
        for (int column = 0; column < columns_; ++column)
            if (Free(row, column) && Free(row + 1, column)) {
                Block(row, column);
                Block(row + 1, column);
                return {row, column};
            }
}

int TMemoryGrid::RowsUsed() const {
    for (int index = static_cast<int>(blocked_.size()) - 1; index >= 0; --index)
        if (blocked_[index]) return index / columns_ + 1;
    return 0;
}

} // namespace korvo
