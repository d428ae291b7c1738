#pragma once

#include "common/settings.h"

#include <QWidget>

namespace korvo {

// One page of the settings dialog. OK stores the page that is showing and
// every other page the user changed; the Default button acts on the page
// that is showing.
class TSettingsPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Writes what the page edits.
    virtual void Store(ISettingsStore& settings) = 0;
    // Puts the page's values back to their defaults (what "Default" does).
    virtual void RestoreDefaults() = 0;
    // Whether "Default" can act on this page now.
    virtual bool CanRestoreDefaults() const = 0;

    // What the page shows now counts as unchanged.
    virtual void MarkUnchanged() { shown_ = Stored(); }
    // Whether the page shows other values than when it was marked unchanged.
    virtual bool Changed() { return Stored() != shown_; }

signals:
    // What CanRestoreDefaults answers may have changed.
    void DefaultStateChanged();

private:
    // What Store would write.
    TMemorySettingsStore Stored() {
        TMemorySettingsStore values;
        Store(values);
        return values;
    }

    TMemorySettingsStore shown_;
};

} // namespace korvo
