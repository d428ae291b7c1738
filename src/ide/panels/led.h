#pragma once

#include <QPixmap>
#include <QWidget>
#include <map>
#include <memory>

namespace korvo {

enum TLEDColour { lcRed, lcGreen, lcYellow };

// The pictures of all LEDs, drawn by the program: for each colour an unlit
// and a lit LED, and one look for a disabled LED, on light and dark panels. Shared by every LED:
// made with the first one and freed with the last.
class TLEDBitmap {
public:
    static constexpr int kWidth = 12;
    static constexpr int kHeight = 13;

    static std::shared_ptr<TLEDBitmap> Shared();

    // The picture at a device pixel ratio (2 on a screen scaled to 200 %).
    const QPixmap& Picture(TLEDColour colour, bool lit, bool enabled, qreal pixelRatio);

private:
    static QPixmap Draw(TLEDColour colour, bool lit, bool enabled, bool dark, qreal pixelRatio);

    // Key: colour, lit, enabled and dark-theme bits and the pixel ratio in
    // hundredths.
    std::map<int, QPixmap> pictures_;
};

// One LED of an output frame, 12 by 13 pixels: lit or not, in one of three
// colours, greyed when disabled. A click asks for its bit to be toggled.
class TLED : public QWidget {
    Q_OBJECT
public:
    explicit TLED(QWidget* parent = nullptr);

    bool Lit() const { return lit_; }
    void SetLit(bool lit);
    TLEDColour Colour() const { return colour_; }
    void SetColour(TLEDColour colour);
    // The bit of the port's value this LED shows.
    int Tag = 0;

signals:
    void Clicked(int tag);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::shared_ptr<TLEDBitmap> bitmap_;
    bool lit_ = false;
    TLEDColour colour_ = lcRed;
};

} // namespace korvo
