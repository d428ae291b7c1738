#include "panels/frame_io_panels.h"

#include "common/mem_map.h"
#include "panels/frame_input.h"
#include "panels/frame_output.h"
#include "panels/panel_widgets.h"
#include "simulator/io_router.h"

#include <QLabel>
#include <QResizeEvent>
#include <QScrollBar>

namespace korvo {

TFrameIOPanels::TFrameIOPanels(IUserDialogs& dialogs, QWidget* parent)
    : QScrollArea(parent), dialogs_(dialogs), content_(new QWidget) {
    setObjectName(QStringLiteral("FrameIOPanels"));
    setStyleSheet(PanelStyleSheet());
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(false);
    content_->setObjectName(QStringLiteral("IOPanelsContent"));
    content_->resize(0, 0);
    setWidget(content_);
}

TFrameIOPanels::~TFrameIOPanels() = default;

bool TFrameIOPanels::Build(TSimulationIO& io, int maxVertical) {
    DestroyAllFrames();
    auto message = [this](const std::string& text) {
        if (OnMessage) OnMessage(text);
    };
    int shown = 0;
    for (int port = 0; port < kPortCount; ++port) {
        if (auto* input = io.InputPort(port); input && input->Visible()) ++shown;
        if (auto* output = io.OutputPort(port); output && output->Visible()) ++shown;
        if (auto* inOut = io.BidirectionalPort(port); inOut && inOut->Visible()) ++shown;
    }
    for (int port = 0; port < static_cast<int>(constants_.size()); ++port)
        if (io.ConstantPort(port)) ++shown;
    columns_ = shown > maxVertical ? 2 : 1;
    for (int port = 0; port < kPortCount; ++port) {
        if (auto* model = io.InputPort(port); model && model->Visible()) {
            auto* frame = new TFrameInput(*model, dialogs_, content_);
            frame->setObjectName(QStringLiteral("FrameInput%1").arg(port));
            frame->SetPort(port);
            frame->SetName(QString::fromStdString(model->Name()));
            inputs_[port] = frame;
            Place(frame);
        }
        for (bool outputOnly : {true, false}) {
            TOutputPortModel* model = outputOnly ? io.OutputPort(port) : io.BidirectionalPort(port);
            if (!model || !model->Visible()) continue;
            auto* frame = new TFrameOutput(*model, dialogs_, message, content_);
            frame->setObjectName(
                (outputOnly ? QStringLiteral("FrameOutput%1") : QStringLiteral("FrameInOut%1"))
                    .arg(port));
            frame->SetPort(port);
            frame->SetOutputOnly(outputOnly);
            frame->SetName(QString::fromStdString(model->Name()));
            (outputOnly ? outputs_ : inOuts_)[port] = frame;
            Place(frame);
        }
    }
    for (int port = 0; port < static_cast<int>(constants_.size()); ++port) {
        TOutputPortModel* model = io.ConstantPort(port);
        if (!model) continue;
        auto* frame = new TFrameOutput(*model, dialogs_, message, content_);
        frame->setObjectName(QStringLiteral("FrameConstant%1").arg(port));
        frame->SetOutputOnly(true);
        frame->SetName(QString::fromStdString(model->Name()));
        frame->PortLabel->setText(QStringLiteral("K%1").arg(port, 0, 16).toUpper());
        constants_[port] = frame;
        Place(frame);
    }
    int rows = (frameCount_ + columns_ - 1) / columns_;
    int across = std::min(frameCount_, columns_);
    content_->resize(across * TFrameOutput::kWidth, rows * TFrameOutput::kHeight);
    FitWidth();
    updateGeometry();
    return frameCount_ > 0;
}

void TFrameIOPanels::Place(QWidget* frame) {
    int column = frameCount_ % columns_;
    int row = frameCount_ / columns_;
    frame->move(column * TFrameOutput::kWidth, row * TFrameOutput::kHeight);
    frame->show();
    ++frameCount_;
}

void TFrameIOPanels::DestroyAllFrames() {
    for (int port = 0; port < kPortCount; ++port) {
        delete inOuts_[port];
        delete outputs_[port];
        delete inputs_[port];
        inOuts_[port] = nullptr;
        outputs_[port] = nullptr;
        inputs_[port] = nullptr;
    }
    for (auto*& frame : constants_) {
        delete frame;
        frame = nullptr;
    }
    frameCount_ = 0;
    content_->resize(0, 0);
}

void TFrameIOPanels::Refresh() {
    for (int port = 0; port < kPortCount; ++port) {
        if (inputs_[port]) inputs_[port]->Refresh();
        if (outputs_[port]) outputs_[port]->Refresh();
        if (inOuts_[port]) inOuts_[port]->Refresh();
    }
    for (auto* frame : constants_)
        if (frame) frame->Refresh();
}

void TFrameIOPanels::ListValues(TShownValues& values) const {
    for (int port = 0; port < kPortCount; ++port) {
        if (inputs_[port])
            values.emplace_back(inputs_[port]->ValueLabel, inputs_[port]->Model().Value());
        for (TFrameOutput* frame : {outputs_[port], inOuts_[port]})
            if (frame) values.emplace_back(frame->ValueLabel, frame->Model().Value());
    }
    for (TFrameOutput* frame : constants_)
        if (frame) values.emplace_back(frame->ValueLabel, frame->Model().Value());
}

TFrameInput* TFrameIOPanels::InputFrame(int port) const {
    return port >= 0 && port < kPortCount ? inputs_[port] : nullptr;
}

TFrameOutput* TFrameIOPanels::OutputFrame(int port) const {
    return port >= 0 && port < kPortCount ? outputs_[port] : nullptr;
}

TFrameOutput* TFrameIOPanels::InOutFrame(int port) const {
    return port >= 0 && port < kPortCount ? inOuts_[port] : nullptr;
}

TFrameOutput* TFrameIOPanels::ConstantFrame(int port) const {
    return port >= 0 && port < static_cast<int>(constants_.size()) ? constants_[port] : nullptr;
}

QSize TFrameIOPanels::sizeHint() const {
    return {content_->width() + verticalScrollBar()->sizeHint().width(), content_->height()};
}

void TFrameIOPanels::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    FitWidth();
}

void TFrameIOPanels::FitWidth() {
    // As wide as the columns, plus the scroll bar when the frames do not fit.
    bool scrolls = content_->height() > height();
    int width = content_->width() + (scrolls ? verticalScrollBar()->sizeHint().width() : 0);
    if (minimumWidth() != width || maximumWidth() != width) setFixedWidth(width);
}

} // namespace korvo
