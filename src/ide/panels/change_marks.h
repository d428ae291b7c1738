#pragma once

#include <QWidget>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace korvo {

// The widgets of the panels that show one value each, with the value.
using TShownValues = std::vector<std::pair<QWidget*, std::int64_t>>;

// Marks what a step or run changed: the values shown before it are
// remembered, and afterwards every widget whose value differs is drawn in
// the theme's colours for changes until the next step or run.
class TChangeMarks {
public:
    // Remembers the values and takes the marks of the last step or run off.
    void Remember(const TShownValues& values);
    // Marks the widgets whose values differ from the remembered ones.
    void Mark(const TShownValues& values);
    // Takes every mark off and forgets the values (the panels go).
    void Clear();

    static bool IsMarked(const QWidget& widget);

private:
    static void SetMarked(QWidget& widget, bool marked);

    std::map<QWidget*, std::int64_t> remembered_;
    std::vector<QWidget*> marked_;
};

} // namespace korvo
