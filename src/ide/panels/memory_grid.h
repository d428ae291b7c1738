#pragma once

#include <vector>

namespace korvo {

// Where the memory frames go: a grid of cells, each as large as one RAM
// frame. Only the columns below the horizontal maximum are used, at most
// eight. There are eight rows at first; when they are full, further frames
// go to new rows below. A cell or a pair of cells (one above the other, for
// a scratch pad frame) is taken at the first free place, row by row.
class TMemoryGrid {
public:
    static constexpr int kMaxColumns = 8;
    static constexpr int kInitialRows = 8;

    struct TCell {
        int Row = 0;
        int Column = 0;
        friend bool operator==(const TCell&, const TCell&) = default;
    };

    explicit TMemoryGrid(int maxHorizontal);

    int Columns() const { return columns_; }
    TCell TakeCell();
    // The upper cell of the pair.
    TCell TakePair();
    // Rows holding at least one frame.
    int RowsUsed() const;

private:
    bool Free(int row, int column) const;
    void Block(int row, int column);

    int columns_;
    // Row-major, columns_ cells a row; grows by whole rows.
    std::vector<bool> blocked_;
};

} // namespace korvo
