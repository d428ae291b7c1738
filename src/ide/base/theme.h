#pragma once

#include <QColor>
#include <QObject>

#include <cstdint>

namespace korvo {

namespace settings {
// The colours of the program: those of the desktop, or always light or dark.
enum class TThemeChoice : std::int32_t { FollowDesktop = 0, Light = 1, Dark = 2 };
} // namespace settings

// The colours the program paints with itself, beside the palette of its
// widgets: editors, gutters, the log pane and the marks of a simulation.
struct TTheme {
    bool Dark = false;
    QColor Paper; // editor background
    QColor Text;  // editor text
    QColor Caret;
    QColor GutterBack;
    QColor GutterText;  // line numbers and the listing
    QColor Edge;        // the right-edge line
    QColor ChangedBack; // a value a step or run changed
    QColor ChangedText;
    QColor ErrorBack; // the message under a line the assembler refused
    QColor ErrorText;
    QColor WarningBack; // the message under a line the checker warns about
    QColor WarningText;
    QColor NoteBack; // the checker's notes, which explain a finding
    QColor NoteText;
    // Foregrounds closer to the paper than this contrast ratio are made
    // lighter. The colours of the settings were chosen on white, so the light
    // theme takes them as they are.
    double MinimumContrast = 1.0;
};

const TTheme& CurrentTheme();
const TTheme& LightTheme();
const TTheme& DarkTheme();

// Whether the desktop the program started on has dark colours.
bool DesktopIsDark();

// Sets the application's palette and the theme for the choice (following
// the desktop: its own palette and whether it is dark) and tells every
// themed part through ThemeNotifier().
void ApplyTheme(settings::TThemeChoice choice);

// A foreground that stands out from background by at least the theme's
// contrast ratio: the colour itself, or the colour made lighter or darker.
QColor Readable(const QColor& foreground, const QColor& background,
                const TTheme& theme = CurrentTheme());

// Announces a change of theme to whatever paints with its colours.
class TThemeNotifier : public QObject {
    Q_OBJECT
signals:
    void Changed();
};
TThemeNotifier& ThemeNotifier();

} // namespace korvo
