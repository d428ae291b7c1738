#pragma once

#include "common/core_kind.h"

#include <QObject>
#include <array>

class QAction;
class QComboBox;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace korvo {

// The core of the active document in the tool bar (a list) and in the
// status bar (a button with a menu). Both stand for the core commands:
// they show the ticked one, are enabled as the commands are, and a choice
// triggers its command.
class TCoreSelector : public QObject {
    Q_OBJECT
public:
    TCoreSelector(const std::array<QAction*, kCoreCount>& commands, QToolBar& toolBar,
                  QStatusBar& statusBar);

    QComboBox* ToolBarList = nullptr;
    QToolButton* StatusButton = nullptr;

private:
    // Follows the commands' ticks and enabled states.
    void Follow();

    std::array<QAction*, kCoreCount> commands_;
};

} // namespace korvo
