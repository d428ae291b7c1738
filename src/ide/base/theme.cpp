#include "base/theme.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <cmath>

namespace korvo {

namespace {

TTheme MakeLight() {
    TTheme theme;
    theme.Paper = Qt::white;
    theme.Text = Qt::black;
    theme.Caret = Qt::black;
    theme.GutterBack = QColor(0xF0, 0xF0, 0xF0);
    theme.GutterText = QColor(0x00, 0x80, 0x80);
    theme.Edge = QColor(0xC0, 0xC0, 0xC0);
    theme.ChangedBack = QColor(0xFF, 0xD8, 0x70);
    theme.ChangedText = Qt::black;
    theme.ErrorBack = QColor(0xFF, 0xE4, 0xE4);
    theme.ErrorText = QColor(0xA0, 0x00, 0x00);
    theme.WarningBack = QColor(0xFF, 0xF0, 0xCC);
    theme.WarningText = QColor(0x8A, 0x4A, 0x00);
    theme.NoteBack = QColor(0xF4, 0xF4, 0xF0);
    theme.NoteText = QColor(0x6A, 0x6A, 0x60);
    return theme;
}

TTheme MakeDark() {
    TTheme theme;
    theme.Dark = true;
    theme.Paper = QColor(0x1E, 0x1E, 0x1E);
    theme.Text = QColor(0xDC, 0xDC, 0xDC);
    theme.Caret = Qt::white;
    theme.GutterBack = QColor(0x2B, 0x2B, 0x2B);
    theme.GutterText = QColor(0x4E, 0xC9, 0xB0);
    theme.Edge = QColor(0x50, 0x50, 0x50);
    theme.ChangedBack = QColor(0x8A, 0x62, 0x00);
    theme.ChangedText = Qt::white;
    theme.ErrorBack = QColor(0x4A, 0x20, 0x20);
    theme.ErrorText = QColor(0xFF, 0x9A, 0x9A);
    theme.WarningBack = QColor(0x45, 0x36, 0x10);
    theme.WarningText = QColor(0xFF, 0xC8, 0x60);
    theme.NoteBack = QColor(0x2A, 0x2A, 0x2A);
    theme.NoteText = QColor(0xA8, 0xA8, 0xA0);
    theme.MinimumContrast = 4.5;
    return theme;
}

QPalette DarkPalette() {
    QPalette palette;
    const QColor window(0x35, 0x35, 0x35), base(0x25, 0x25, 0x25), text(0xDC, 0xDC, 0xDC);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, QColor(0x45, 0x45, 0x45));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, QColor(0x90, 0x90, 0x90));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::red);
    palette.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
    palette.setColor(QPalette::Midlight, QColor(0x45, 0x45, 0x45));
    palette.setColor(QPalette::Mid, QColor(0x70, 0x70, 0x70));
    palette.setColor(QPalette::Dark, QColor(0x20, 0x20, 0x20));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x6A, 0xB0, 0xF3));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
    return palette;
}

bool IsDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}

// The desktop's palette, taken before the program changes anything.
const QPalette& DesktopPalette() {
    static const QPalette desktop = QApplication::palette();
    return desktop;
}

TTheme& Current() {
    static TTheme theme = MakeLight();
    return theme;
}

double Luminance(const QColor& colour) {
    auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
    double first = Luminance(a), second = Luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

} // namespace

const TTheme& LightTheme() {
    static const TTheme theme = MakeLight();
    return theme;
}

const TTheme& DarkTheme() {
    static const TTheme theme = MakeDark();
    return theme;
}

const TTheme& CurrentTheme() {
    return Current();
}

bool DesktopIsDark() {
    return IsDark(DesktopPalette());
}

void ApplyTheme(settings::TThemeChoice choice) {
    bool desktopDark = DesktopIsDark();
    bool dark = choice == settings::TThemeChoice::Dark ||
                (choice == settings::TThemeChoice::FollowDesktop && desktopDark);
    QPalette palette = dark == desktopDark ? DesktopPalette()
                       : dark              ? DarkPalette()
                                           : QApplication::style()->standardPalette();
    Current() = dark ? DarkTheme() : LightTheme();
    QApplication::setPalette(palette);
    emit ThemeNotifier().Changed();
}

QColor Readable(const QColor& foreground, const QColor& background, const TTheme& theme) {
    QColor colour = foreground;
    bool lighten = Luminance(background) < 0.5;
    for (int step = 0; step < 20 && Contrast(colour, background) < theme.MinimumContrast; ++step) {
        float hue = 0, saturation = 0, lightness = 0, alpha = 1;
        colour.getHslF(&hue, &saturation, &lightness, &alpha);
        lightness = std::clamp(lightness + (lighten ? 0.05f : -0.05f), 0.0f, 1.0f);
        colour = QColor::fromHslF(hue, saturation, lightness, alpha);
    }
    return colour;
}

TThemeNotifier& ThemeNotifier() {
    static TThemeNotifier notifier;
    return notifier;
}

} // namespace korvo
