#include "panels/frame_store.h"

#include "panels/panel_widgets.h"

#include <QLabel>

namespace korvo {

TFrameStore::TFrameStore(QWidget* parent) : TMemoryFrame(4, kHeight, parent) {
    for (int row = 0; row < 4; ++row)
        RangeLabel(row)->setObjectName(QStringLiteral("LabelRange%1").arg(row));
    SetCaption(QStringLiteral("Scratch Pad"));
}

void TFrameStore::SetCount(int count) {
    count_ = count;
    for (int n = 0; n < ValueCount(); ++n)
        ValueLabel(n)->setEnabled(n < count);
}

} // namespace korvo
