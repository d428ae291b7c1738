#include "gui_test_support.h"

namespace korvo::test {

TTemporarySettings::TTemporarySettings()
    : store_(std::make_unique<TQtSettingsStore>(FilePath().toStdString())) {}

TQtSettingsStore& TTemporarySettings::Reopen() {
    store_.reset();
    store_ = std::make_unique<TQtSettingsStore>(FilePath().toStdString());
    return *store_;
}

} // namespace korvo::test
