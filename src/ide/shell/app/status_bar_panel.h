#pragma once

#include <QFrame>
#include <QString>

namespace korvo {

// One panel of the status bar: a sunken frame with one line of text. It
// asks for its width but gives way when the window is narrower than all
// panels together, and then cuts its text short with an ellipsis rather
// than paint over its neighbours; a panel that keeps its text gives way only
// down to the widest text it has shown. A new text only repaints the panel;
// the window is laid out again only when a text needs more room than any
// before it (the simulation texts change many times a second).
class TStatusBarPanel : public QFrame {
    Q_OBJECT
public:
    TStatusBarPanel(int width, Qt::Alignment alignment, bool keepsText, QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int TextWidth(const QString& text) const;

    QString text_;
    int width_;
    int minimumWidth_ = 0;
    Qt::Alignment alignment_;
    bool keepsText_;
};

} // namespace korvo
