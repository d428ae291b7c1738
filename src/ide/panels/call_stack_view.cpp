#include "panels/call_stack_view.h"

#include "panels/panel_widgets.h"
#include "simulator/picoblaze_simulator.h"

#include <QHeaderView>

namespace korvo {

namespace {
constexpr int kLineRole = Qt::UserRole;
} // namespace

TCallStackView::TCallStackView(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("CallStackView"));
    setColumnCount(3);
    setHeaderLabels(
        {QStringLiteral("Return to"), QStringLiteral("Routine"), QStringLiteral("Source")});
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    header()->setStretchLastSection(true);
    setColumnWidth(colReturn, fontMetrics().horizontalAdvance(QStringLiteral("Return to")) + 16);
    setColumnWidth(colRoutine,
                   fontMetrics().horizontalAdvance(QStringLiteral("main_loop+10")) + 12);
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (int line = item->data(colReturn, kLineRole).toInt(); line > 0)
            emit SourceLineRequested(line);
    });
}

void TCallStackView::Bind(TPicoBlazeSimulator* simulator, const TProgramText& program) {
    simulator_ = simulator;
    program_ = program;
    clear();
    Refresh();
}

void TCallStackView::Refresh() {
    if (!simulator_ || simulator_->IsRunning()) return;
    int digits = CoreDescription(simulator_->CoreKind()).AddressDigits();
    int depth = std::clamp(simulator_->SP(), 0, simulator_->StackDepth());
    // The entries change rarely: build the rows only when they differ.
    QStringList shown;
    for (int i = depth - 1; i >= 0; --i)
        shown << DollarHex(simulator_->StackEntry(i), digits);
    QStringList current;
    for (int row = 0; row < topLevelItemCount(); ++row)
        current << topLevelItem(row)->text(colReturn);
    if (shown == current) return;
    clear();
    for (int i = depth - 1; i >= 0; --i) {
        int address = simulator_->StackEntry(i);
        int line = simulator_->AddressToLine(address);
        auto* item =
            new QTreeWidgetItem(this, {DollarHex(address, digits), program_.RoutineOf(address),
                                       program_.LineText(line)});
        item->setData(colReturn, kLineRole, line);
    }
}

} // namespace korvo
