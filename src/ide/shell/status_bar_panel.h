#pragma once

#include <QFrame>
#include <QString>

namespace korvo {

// One panel of the status bar: a sunken frame with one line of text. It
// asks for its width but gives way when the window is narrower than all
// panels together, and then cuts its text short with an ellipsis rather
// than paint over its neighbours. A new text only repaints the panel; the
// window is laid out again only when the text needs more room than the
// panel asked for (the simulation texts change many times a second).
class TStatusBarPanel : public QFrame {
    Q_OBJECT
public:
    TStatusBarPanel(int width, Qt::Alignment alignment, QWidget* parent = nullptr);

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
    Qt::Alignment alignment_;
};

} // namespace korvo
