#include "panels/frame_ram.h"

#include <QGroupBox>
#include <QLabel>

namespace korvo {

TFrameRAM::TFrameRAM(QWidget* parent) : TMemoryFrame(1, kHeight, parent) {
    LabelRange = RangeLabel(0);
    LabelRange->setObjectName(QStringLiteral("LabelRange"));
    SetReadOnly(false);
}

void TFrameRAM::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    GroupBox->setTitle(readOnly ? QStringLiteral(" ROM ") : QStringLiteral(" RAM "));
}

} // namespace korvo
