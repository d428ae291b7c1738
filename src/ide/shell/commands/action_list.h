#pragma once

#include <QAction>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

namespace korvo {

// How a command presents itself. The hint is the tool tip and the status
// bar text; the icon names a glyph of the program's icon set (none when
// empty).
struct TCommandInfo {
    const char* Name;
    QString Caption;
    QString Hint;
    QKeySequence Shortcut;
    QString Icon;
};

// Every user command as a QAction with its execute handler and its update
// handler, which sets the enabled and ticked state and runs whenever the
// program is idle.
class TActionList : public QObject {
    Q_OBJECT
public:
    using TUpdate = std::function<void(QAction&)>;

    // Actions get shortcutContext owner-window wide; they are added to owner
    // so that their shortcuts work wherever the focus is in the window.
    explicit TActionList(QWidget* owner);

    QAction* Add(const TCommandInfo& info, std::function<void()> execute, TUpdate update = {});
    // A ticked-state command.
    QAction* AddCheckable(const TCommandInfo& info, std::function<void()> execute, TUpdate update);
    QAction* Find(const QString& name) const;
    const QList<QAction*>& Actions() const { return actions_; }

    // Runs every update handler now.
    void UpdateAll();

private:
    QWidget* owner_;
    QList<QAction*> actions_;
    std::vector<std::pair<QAction*, TUpdate>> updates_;
};

// Calls an update function whenever the application is idle after user
// input, focus changes, clipboard changes or an explicit request, plus twice
// a second for everything else that may change a command's state.
class TIdleUpdater : public QObject {
    Q_OBJECT
public:
    explicit TIdleUpdater(std::function<void()> update, QObject* parent = nullptr);
    ~TIdleUpdater() override;
    void Request();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> update_;
    QTimer pending_;
    QTimer heartbeat_;
};

} // namespace korvo
