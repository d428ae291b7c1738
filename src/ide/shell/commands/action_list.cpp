#include "shell/commands/action_list.h"

#include "shell/app/icons.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QWidget>

namespace korvo {

TActionList::TActionList(QWidget* owner) : QObject(owner), owner_(owner) {}

QAction* TActionList::Add(const TCommandInfo& info, std::function<void()> execute, TUpdate update) {
    auto* action = new QAction(info.Caption, owner_);
    action->setObjectName(QString::fromLatin1(info.Name));
    if (!info.Hint.isEmpty()) {
        action->setToolTip(info.Hint);
        action->setStatusTip(info.Hint);
    }
    if (!info.Shortcut.isEmpty()) action->setShortcut(info.Shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    if (!info.Icon.isEmpty()) action->setIcon(CommandIcon(info.Icon));
    if (execute) connect(action, &QAction::triggered, this, [execute] { execute(); });
    owner_->addAction(action);
    actions_ << action;
    if (update) updates_.emplace_back(action, std::move(update));
    return action;
}

QAction* TActionList::AddCheckable(const TCommandInfo& info, std::function<void()> execute,
                                   TUpdate update) {
    QAction* action = Add(info, std::move(execute), std::move(update));
    action->setCheckable(true);
    return action;
}

QAction* TActionList::Find(const QString& name) const {
    for (QAction* action : actions_)
        if (action->objectName() == name) return action;
    return nullptr;
}

void TActionList::UpdateAll() {
    for (auto& [action, update] : updates_)
        update(*action);
}

TIdleUpdater::TIdleUpdater(std::function<void()> update, QObject* parent)
    : QObject(parent), update_(std::move(update)) {
    pending_.setSingleShot(true);
    pending_.setInterval(0);
    connect(&pending_, &QTimer::timeout, this, [this] { update_(); });
    heartbeat_.setInterval(500);
    connect(&heartbeat_, &QTimer::timeout, this, [this] { update_(); });
    heartbeat_.start();
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &TIdleUpdater::Request);
    qApp->installEventFilter(this);
}

TIdleUpdater::~TIdleUpdater() {
    qApp->removeEventFilter(this);
}

void TIdleUpdater::Request() {
    if (!pending_.isActive()) pending_.start();
}

bool TIdleUpdater::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::FocusIn:
    case QEvent::Shortcut:
    case QEvent::Drop:
    case QEvent::WindowActivate:
    case QEvent::Wheel: Request(); break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace korvo
