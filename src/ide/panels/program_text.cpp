#include "panels/program_text.h"

#include <algorithm>

namespace korvo {

QString TProgramText::LabelAt(int address) const {
    auto found =
        std::lower_bound(Labels.begin(), Labels.end(), address,
                         [](const auto& label, int wanted) { return label.first < wanted; });
    return found != Labels.end() && found->first == address ? found->second : QString();
}

QString TProgramText::RoutineOf(int address) const {
    auto after =
        std::upper_bound(Labels.begin(), Labels.end(), address,
                         [](int wanted, const auto& label) { return wanted < label.first; });
    if (after == Labels.begin()) return {};
    const auto& [start, name] = *std::prev(after);
    return address == start ? name : name + QStringLiteral("+%1").arg(address - start);
}

QString TProgramText::LineText(int line) const {
    if (line < 1 || line > Lines.size()) return {};
    return QStringLiteral("line %1: %2").arg(line).arg(Lines[line - 1].trimmed());
}

} // namespace korvo
