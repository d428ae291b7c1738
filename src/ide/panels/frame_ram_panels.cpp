#include "panels/frame_ram_panels.h"

#include "base/user_dialogs.h"
#include "common/mem_map.h"
#include "panels/frame_ram.h"
#include "panels/frame_store.h"
#include "panels/memory_grid.h"
#include "panels/panel_widgets.h"
#include "simulator/io_router.h"
#include "simulator/picoblaze_simulator.h"

#include <QScrollBar>

namespace korvo {

namespace {
// At most this many rows show at once; more scroll.
constexpr int kVisibleRows = TMemoryGrid::kInitialRows;
constexpr int kCellWidth = TMemoryFrame::kWidth;
constexpr int kCellHeight = TMemoryFrame::kRowHeight;
} // namespace

TFrameRAMPanels::TFrameRAMPanels(IUserDialogs& dialogs, QWidget* parent)
    : QScrollArea(parent), dialogs_(dialogs), content_(new QWidget) {
    setObjectName(QStringLiteral("FrameRAMPanels"));
    setStyleSheet(PanelStyleSheet());
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    content_->setObjectName(QStringLiteral("RAMPanelsContent"));
    content_->resize(0, 0);
    setWidget(content_);
    connect(horizontalScrollBar(), &QScrollBar::rangeChanged, this, [this] { updateGeometry(); });
}

TFrameRAMPanels::~TFrameRAMPanels() = default;

bool TFrameRAMPanels::BuildPanels(TPicoBlazeSimulator& simulator, TSimulationIO& io,
                                  int maxHorizontal) {
    FreePanels();
    simulator_ = &simulator;
    io_ = &io;
    TMemoryGrid grid(maxHorizontal);
    if (simulator.UsesScratchPad()) {
        int size = simulator.ScratchPadSize();
        int frames = size >= 64 ? size / 64 : 1;
        for (int k = 0; k < frames; ++k) {
            auto* frame = new TFrameStore(content_);
            frame->setObjectName(QStringLiteral("FrameStore%1").arg(k));
            frame->SetCaption(QStringLiteral("ScratchPad%1").arg(k));
            frame->SetBase(64 * k);
            frame->SetCount(size >= 64 ? 64 : size);
            connect(frame, &TMemoryFrame::EditRequested, this,
                    [this, frame](int n) { EditStoreValue(*frame, n); });
            storeFrames_[k] = frame;
            TMemoryGrid::TCell cell = grid.TakePair();
            Place(frame, cell.Row, cell.Column);
        }
    }
    for (int block = 0; block < 16; ++block) {
        TMemMapItem first = simulator.GetPortItem(16 * block);
        if (first.Kind != TMemKind::RAM && first.Kind != TMemKind::ROM) continue;
        bool rom = first.Kind == TMemKind::ROM;
        auto* frame = new TFrameRAM(content_);
        frame->setObjectName(
            (rom ? QStringLiteral("FrameROM%1") : QStringLiteral("FrameRAM%1")).arg(block));
        frame->SetBase(16 * block);
        frame->SetReadOnly(rom);
        frame->SetCaption(QString::fromStdString(first.OutName));
        connect(frame, &TMemoryFrame::EditRequested, this,
                [this, frame](int n) { EditPortValue(*frame, n); });
        (rom ? romFrames_ : ramFrames_)[block] = frame;
        TMemoryGrid::TCell cell = grid.TakeCell();
        Place(frame, cell.Row, cell.Column);
    }
    rowsUsed_ = grid.RowsUsed();
    content_->resize(columnsUsed_ * kCellWidth, rowsUsed_ * kCellHeight);
    Refresh();
    updateGeometry();
    return rowsUsed_ > 0;
}

void TFrameRAMPanels::Place(TMemoryFrame* frame, int row, int column) {
    frame->move(column * kCellWidth, row * kCellHeight);
    frame->show();
    columnsUsed_ = std::max(columnsUsed_, column + 1);
}

void TFrameRAMPanels::FreePanels() {
    for (auto* frames : {&romFrames_, &ramFrames_})
        for (auto*& frame : *frames) {
            delete frame;
            frame = nullptr;
        }
    for (auto*& frame : storeFrames_) {
        delete frame;
        frame = nullptr;
    }
    rowsUsed_ = 0;
    columnsUsed_ = 0;
    simulator_ = nullptr;
    io_ = nullptr;
    content_->resize(0, 0);
    updateGeometry();
}

void TFrameRAMPanels::Refresh() {
    if (!simulator_ || !io_) return;
    for (TFrameStore* frame : storeFrames_)
        if (frame)
            for (int n = 0; n < frame->Count(); ++n)
                frame->SetValue(n, io_->ScratchPad().Read(frame->Base() + n));
    for (auto* frames : {&romFrames_, &ramFrames_})
        for (TFrameRAM* frame : *frames)
            if (frame)
                for (int n = 0; n < 16; ++n)
                    frame->SetValue(n, simulator_->GetPortItem(frame->Base() + n).Value);
}

void TFrameRAMPanels::ListValues(TShownValues& values) const {
    for (TFrameStore* frame : storeFrames_)
        if (frame) frame->ListValues(values);
    for (auto* frames : {&romFrames_, &ramFrames_})
        for (TFrameRAM* frame : *frames)
            if (frame) frame->ListValues(values);
}

TFrameRAM* TFrameRAMPanels::RAMFrame(int block) const {
    return block >= 0 && block < 16 ? ramFrames_[block] : nullptr;
}

TFrameRAM* TFrameRAMPanels::ROMFrame(int block) const {
    return block >= 0 && block < 16 ? romFrames_[block] : nullptr;
}

TFrameStore* TFrameRAMPanels::StoreFrame(int slot) const {
    return slot >= 0 && slot < 4 ? storeFrames_[slot] : nullptr;
}

void TFrameRAMPanels::EditStoreValue(TFrameStore& frame, int n) {
    if (!io_ || n >= frame.Count()) return;
    std::int32_t value = frame.GetValue(n);
    if (!dialogs_.EnterValue(window(), frame.Base() + n, value)) return;
    io_->ScratchPad().Write(frame.Base() + n, value);
    frame.SetValue(n, io_->ScratchPad().Read(frame.Base() + n));
}

void TFrameRAMPanels::EditPortValue(TFrameRAM& frame, int n) {
    if (!io_ || !simulator_) return;
    std::int32_t value = frame.GetValue(n);
    if (!dialogs_.EnterValue(window(), frame.Base() + n, value)) return;
    io_->EditMemoryCell(frame.Base() + n, value);
    frame.SetValue(n, simulator_->GetPortItem(frame.Base() + n).Value);
}

int TFrameRAMPanels::FittingHeight() const {
    int rows = std::min(rowsUsed_, kVisibleRows);
    int height = rows * kCellHeight;
    if (content_->width() > width()) height += horizontalScrollBar()->sizeHint().height();
    return height;
}

QSize TFrameRAMPanels::sizeHint() const {
    return {content_->width(), FittingHeight()};
}

QSize TFrameRAMPanels::minimumSizeHint() const {
    return {0, FittingHeight()};
}

} // namespace korvo
