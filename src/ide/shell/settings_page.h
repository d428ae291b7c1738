#pragma once

#include <QWidget>

namespace korvo {

class ISettingsStore;

// One page of the settings dialog. The dialog stores only the page that is
// showing when the user presses OK, and its Default button acts on that page.
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

signals:
    // What CanRestoreDefaults answers may have changed.
    void DefaultStateChanged();
};

} // namespace korvo
