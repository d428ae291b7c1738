#pragma once

#include "panels/change_marks.h"
#include "simulator/io_models.h"

#include <QScrollArea>
#include <array>

namespace korvo {

class IUserDialogs;
class TFrameInput;
class TFrameOutput;
class TSimulationIO;

// The input, output and bidirectional frames of a simulated program, in one
// column, or in two when there are more frames than the maximum placed
// vertically; after them the constant output ports (OUTK) the program writes. Frames exist from the
// loading of a program to the end of its simulation; they show and edit the port models of the
// simulation.
class TFrameIOPanels : public QScrollArea {
    Q_OBJECT
public:
    explicit TFrameIOPanels(IUserDialogs& dialogs, QWidget* parent = nullptr);
    ~TFrameIOPanels() override;

    // Makes a frame for every visible input, output and bidirectional port
    // model; true when it made any.
    bool Build(TSimulationIO& io, int maxVertical);
    void DestroyAllFrames();
    // Every frame from its model.
    void Refresh();
    // The value label of every frame with its port's value.
    void ListValues(TShownValues& values) const;

    TFrameInput* InputFrame(int port) const;
    TFrameOutput* OutputFrame(int port) const;
    TFrameOutput* InOutFrame(int port) const;
    // The frame of a constant output port of OUTK (0 to 15).
    TFrameOutput* ConstantFrame(int port) const;
    int FrameCount() const { return frameCount_; }

    // Message boxes of the frames' models ("Bad format specifier ...").
    TMessageHandler OnMessage;

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Place(QWidget* frame);
    void FitWidth();

    IUserDialogs& dialogs_;
    QWidget* content_;
    std::array<TFrameInput*, 256> inputs_{};
    std::array<TFrameOutput*, 256> outputs_{};
    std::array<TFrameOutput*, 256> inOuts_{};
    std::array<TFrameOutput*, 16> constants_{};
    int frameCount_ = 0;
    int columns_ = 1;
};

} // namespace korvo
