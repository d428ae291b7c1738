#include "panels/change_marks.h"

#include "base/theme.h"

namespace korvo {

namespace {
constexpr const char* kMarkedProperty = "ChangedByStep";
} // namespace

void TChangeMarks::Remember(const TShownValues& values) {
    for (QWidget* widget : marked_)
        SetMarked(*widget, false);
    marked_.clear();
    remembered_.clear();
    for (const auto& [widget, value] : values)
        remembered_[widget] = value;
}

void TChangeMarks::Mark(const TShownValues& values) {
    for (const auto& [widget, value] : values) {
        auto before = remembered_.find(widget);
        if (before == remembered_.end() || before->second == value) continue;
        SetMarked(*widget, true);
        marked_.push_back(widget);
    }
}

void TChangeMarks::Clear() {
    for (QWidget* widget : marked_)
        SetMarked(*widget, false);
    marked_.clear();
    remembered_.clear();
}

bool TChangeMarks::IsMarked(const QWidget& widget) {
    return widget.property(kMarkedProperty).toBool();
}

void TChangeMarks::SetMarked(QWidget& widget, bool marked) {
    if (IsMarked(widget) == marked) return;
    widget.setProperty(kMarkedProperty, marked);
    const TTheme& theme = CurrentTheme();
    widget.setStyleSheet(marked ? QStringLiteral("background-color: %1; color: %2;")
                                      .arg(theme.ChangedBack.name(), theme.ChangedText.name())
                                : QString());
}

} // namespace korvo
