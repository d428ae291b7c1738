#pragma once

#include "common/core_options.h"
#include "common/settings.h"

#include <QGroupBox>

class QComboBox;
class QSpinBox;

namespace korvo {

// The build of a core with build options (PicoBlaze 6) on the Misc page:
// program size, interrupt vector, HWBUILD value and scratch pad size. The
// vector stays below the program size chosen.
class TCoreBuildGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TCoreBuildGroup(QWidget* parent = nullptr);

    void Load(const ISettingsStore& settings);
    void Store(ISettingsStore& settings) const;
    void Show(const TCoreOptions& options);
    TCoreOptions Options() const;

private:
    void FollowProgramSize();

    QComboBox* programSize_ = nullptr;
    QSpinBox* vector_ = nullptr;
    QSpinBox* hwBuild_ = nullptr;
    QComboBox* scratchPad_ = nullptr;
};

} // namespace korvo
