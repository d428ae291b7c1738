#pragma once

#include <QObject>
#include <array>

class QAction;
class QComboBox;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace korvo {

// The core of the active document in the tool bar (a list) and in the
// status bar (a button with a menu). Both stand for the four core commands:
// they show the ticked one, are enabled as the commands are, and a choice
// triggers its command.
class TCoreSelector : public QObject {
    Q_OBJECT
public:
    TCoreSelector(const std::array<QAction*, 4>& commands, QToolBar& toolBar,
                  QStatusBar& statusBar);

    QComboBox* ToolBarList = nullptr;
    QToolButton* StatusButton = nullptr;

private:
    // Follows the commands' ticks and enabled states.
    void Follow();

    std::array<QAction*, 4> commands_;
};

} // namespace korvo
