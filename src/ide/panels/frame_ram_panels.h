#pragma once

#include "panels/change_marks.h"

#include <QScrollArea>
#include <array>
#include <cstdint>

namespace korvo {

class IUserDialogs;
class TFrameRAM;
class TFrameStore;
class TMemoryFrame;
class TPicoBlazeSimulator;
class TSimulationIO;

// The memory panels of a simulated program, docked below the documents: the
// scratch pad in frames of 64 bytes and every 16-port RAM or ROM block,
// placed on a grid (TMemoryGrid). The frames show the simulation's scratch
// pad and port map and edit them; an edited byte is what the program reads.
class TFrameRAMPanels : public QScrollArea {
    Q_OBJECT
public:
    explicit TFrameRAMPanels(IUserDialogs& dialogs, QWidget* parent = nullptr);
    ~TFrameRAMPanels() override;

    // Builds the frames of the simulator's scratch pad (when its program
    // uses one) and of its RAM and ROM blocks; true when it made any.
    bool BuildPanels(TPicoBlazeSimulator& simulator, TSimulationIO& io, int maxHorizontal);
    void FreePanels();
    // Every frame from the scratch pad and the port map.
    void Refresh();
    void ListValues(TShownValues& values) const;

    TFrameRAM* RAMFrame(int block) const;
    TFrameRAM* ROMFrame(int block) const;
    TFrameStore* StoreFrame(int slot) const;
    int RowsUsed() const { return rowsUsed_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    void Place(TMemoryFrame* frame, int row, int column);
    void EditStoreValue(TFrameStore& frame, int n);
    void EditPortValue(TFrameRAM& frame, int n);
    int FittingHeight() const;

    IUserDialogs& dialogs_;
    QWidget* content_;
    TPicoBlazeSimulator* simulator_ = nullptr;
    TSimulationIO* io_ = nullptr;
    std::array<TFrameRAM*, 16> romFrames_{};
    std::array<TFrameRAM*, 16> ramFrames_{};
    std::array<TFrameStore*, 4> storeFrames_{};
    int rowsUsed_ = 0;
    int columnsUsed_ = 0;
};

} // namespace korvo
