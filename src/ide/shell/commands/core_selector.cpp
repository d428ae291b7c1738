#include "shell/commands/core_selector.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace korvo {

TCoreSelector::TCoreSelector(const std::array<QAction*, kCoreCount>& commands, QToolBar& toolBar,
                             QStatusBar& statusBar)
    : QObject(&toolBar), commands_(commands) {
    ToolBarList = new QComboBox(&toolBar);
    ToolBarList->setObjectName(QStringLiteral("CoreList"));
    ToolBarList->setToolTip(QStringLiteral("The core the document is written for"));
    ToolBarList->setFocusPolicy(Qt::NoFocus);
    StatusButton = new QToolButton(&statusBar);
    StatusButton->setObjectName(QStringLiteral("CoreButton"));
    StatusButton->setToolTip(ToolBarList->toolTip());
    StatusButton->setPopupMode(QToolButton::InstantPopup);
    StatusButton->setAutoRaise(true);
    auto* menu = new QMenu(StatusButton);
    for (QAction* command : commands_) {
        ToolBarList->addItem(command->text());
        menu->addAction(command);
        connect(command, &QAction::changed, this, &TCoreSelector::Follow);
    }
    StatusButton->setMenu(menu);
    connect(ToolBarList, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(commands_.size()) &&
            !commands_[index]->isChecked())
            commands_[index]->trigger();
        Follow();
    });
    toolBar.addWidget(ToolBarList);
    statusBar.addPermanentWidget(StatusButton);
    Follow();
}

void TCoreSelector::Follow() {
    for (int index = 0; index < static_cast<int>(commands_.size()); ++index) {
        QAction* command = commands_[index];
        if (!command->isChecked()) continue;
        if (ToolBarList->currentIndex() != index) ToolBarList->setCurrentIndex(index);
        if (StatusButton->text() != command->text()) StatusButton->setText(command->text());
    }
    bool enabled = commands_[0]->isEnabled();
    ToolBarList->setEnabled(enabled);
    StatusButton->setEnabled(enabled);
}

} // namespace korvo
