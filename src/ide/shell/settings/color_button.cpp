#include "shell/settings/color_button.h"

#include <QColorDialog>
#include <QMenu>
#include <QPainter>

namespace korvo {

namespace {
constexpr int kSwatchSize = 14;
}

QIcon SwatchIcon(const QColor& color, int size, qreal devicePixelRatio) {
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF frame(0.5, 0.5, size - 1.0, size - 1.0);
    painter.setPen(QPen(QColor(0, 0, 0, 110), 1.0));
    if (color.isValid())
        painter.setBrush(color);
    else
        painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(frame, 2.0, 2.0);
    return QIcon(pixmap);
}

const QList<QPair<QString, QColor>>& TColorButton::Palette() {
    static const QList<QPair<QString, QColor>> palette{
        {QStringLiteral("Black"), QColor(0, 0, 0)},
        {QStringLiteral("Maroon"), QColor(128, 0, 0)},
        {QStringLiteral("Green"), QColor(0, 128, 0)},
        {QStringLiteral("Olive"), QColor(128, 128, 0)},
        {QStringLiteral("Navy"), QColor(0, 0, 128)},
        {QStringLiteral("Purple"), QColor(128, 0, 128)},
        {QStringLiteral("Teal"), QColor(0, 128, 128)},
        {QStringLiteral("Gray"), QColor(128, 128, 128)},
        {QStringLiteral("Silver"), QColor(192, 192, 192)},
        {QStringLiteral("Red"), QColor(255, 0, 0)},
        {QStringLiteral("Lime"), QColor(0, 255, 0)},
        {QStringLiteral("Yellow"), QColor(255, 255, 0)},
        {QStringLiteral("Blue"), QColor(0, 0, 255)},
        {QStringLiteral("Fuchsia"), QColor(255, 0, 255)},
        {QStringLiteral("Aqua"), QColor(0, 255, 255)},
        {QStringLiteral("White"), QColor(255, 255, 255)},
    };
    return palette;
}

TColorButton::TColorButton(const QString& caption, QWidget* parent) : QToolButton(parent) {
    setText(caption);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setPopupMode(QToolButton::InstantPopup);
    setIconSize(QSize(kSwatchSize, kSwatchSize));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    auto* menu = new QMenu(this);
    for (const auto& [name, color] : Palette()) {
        QAction* action = menu->addAction(name);
        action->setData(color);
        connect(action, &QAction::triggered, this, [this, color = color] { Choose(color); });
    }
    menu->addSeparator();
    connect(menu->addAction(tr("Other...")), &QAction::triggered, this, &TColorButton::ChooseOther);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        for (QAction* action : menu->actions())
            if (action->data().isValid())
                action->setIcon(
                    SwatchIcon(action->data().value<QColor>(), kSwatchSize, devicePixelRatioF()));
    });
    setMenu(menu);
    UpdateSwatch();
}

void TColorButton::SetColor(const QColor& color) {
    color_ = color;
    UpdateSwatch();
}

void TColorButton::Choose(const QColor& color) {
    SetColor(color);
    emit ColorChosen(color);
}

void TColorButton::ChooseOther() {
    QColor chosen =
        QColorDialog::getColor(color_.isValid() ? color_ : QColor(Qt::black), this, text());
    if (chosen.isValid()) Choose(chosen);
}

void TColorButton::UpdateSwatch() {
    setIcon(SwatchIcon(color_, kSwatchSize, devicePixelRatioF()));
}

} // namespace korvo
