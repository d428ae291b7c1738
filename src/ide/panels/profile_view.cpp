#include "panels/profile_view.h"

#include "panels/panel_widgets.h"
#include "simulator/picoblaze_simulator.h"
#include "simulator/profiler.h"

#include <QHeaderView>

namespace korvo {

namespace {
constexpr int kLineRole = Qt::UserRole;
constexpr int kSortRole = Qt::UserRole + 1;

// Numbers sort by value, names by text.
class TProfileRow : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        if (column == TProfileView::colRoutine) return QTreeWidgetItem::operator<(other);
        return data(column, kSortRole).toDouble() < other.data(column, kSortRole).toDouble();
    }
};

QString Share(std::uint64_t count, std::uint64_t total) {
    return QString::number(
        total ? 100.0 * static_cast<double>(count) / static_cast<double>(total) : 0.0, 'f', 1);
}
} // namespace

TProfileView::TProfileView(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("ProfileView"));
    setColumnCount(6);
    setHeaderLabels({QStringLiteral("Routine"), QStringLiteral("Calls"),
                     QStringLiteral("Inclusive"), QStringLiteral("%"), QStringLiteral("Exclusive"),
                     QStringLiteral("%")});
    headerItem()->setToolTip(colInclusive,
                             QStringLiteral("Instructions in the routine and what it called"));
    headerItem()->setToolTip(colExclusive, QStringLiteral("Instructions in the routine alone"));
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    setSortingEnabled(true);
    sortByColumn(colInclusive, Qt::DescendingOrder);
    header()->setStretchLastSection(false);
    setColumnWidth(colRoutine,
                   fontMetrics().horizontalAdvance(QStringLiteral("main_loop_ab")) + 12);
    for (int column = colCalls; column <= colExclusiveShare; ++column)
        resizeColumnToContents(column);
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (int line = item->data(colRoutine, kLineRole).toInt(); line > 0)
            emit SourceLineRequested(line);
    });
}

TProfileView::~TProfileView() {
    Detach();
}

void TProfileView::Detach() {
    if (simulator_ && profiler_) simulator_->DetachObserver(*profiler_);
    profiler_.reset();
}

void TProfileView::Bind(TPicoBlazeSimulator* simulator, const TProgramText& program) {
    Detach();
    simulator_ = simulator;
    program_ = program;
    Restart();
}

void TProfileView::Restart() {
    if (simulator_ && simulator_->IsRunning()) return;
    Detach();
    clear();
    if (!simulator_ || !isVisible()) return;
    profiler_ = std::make_unique<TProfiler>(*simulator_);
    simulator_->AttachObserver(*profiler_);
}

void TProfileView::showEvent(QShowEvent* event) {
    QTreeWidget::showEvent(event);
    if (!profiler_) Restart();
}

void TProfileView::hideEvent(QHideEvent* event) {
    QTreeWidget::hideEvent(event);
    // A run observer may not leave from inside a run; it stays until the run stops.
    if (simulator_ && !simulator_->IsRunning()) Detach();
}

void TProfileView::Refresh() {
    if (!simulator_ || !profiler_ || simulator_->IsRunning()) return;
    const auto routines = profiler_->Routines();
    std::uint64_t total = 0;
    for (const auto& routine : routines)
        total += routine.Exclusive;
    const int digits = CoreDescription(simulator_->CoreKind()).AddressDigits();
    setSortingEnabled(false);
    clear();
    for (const auto& routine : routines) {
        QString name = program_.LabelAt(routine.Entry);
        if (name.isEmpty())
            name = routine.Entry == 0 ? QStringLiteral("reset") : DollarHex(routine.Entry, digits);
        auto* row = new TProfileRow(this);
        row->setText(colRoutine, name);
        row->setData(colRoutine, kLineRole, simulator_->AddressToLine(routine.Entry));
        const std::pair<int, std::uint64_t> numbers[] = {{colCalls, routine.Calls},
                                                         {colInclusive, routine.Inclusive},
                                                         {colExclusive, routine.Exclusive}};
        for (auto [column, value] : numbers) {
            row->setText(column, QString::number(static_cast<qulonglong>(value)));
            row->setData(column, kSortRole, static_cast<double>(value));
            row->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        }
        for (auto [column, count] : {std::pair(colInclusiveShare, routine.Inclusive),
                                     std::pair(colExclusiveShare, routine.Exclusive)}) {
            row->setText(column, Share(count, total));
            row->setData(column, kSortRole, static_cast<double>(count));
            row->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    setSortingEnabled(true);
    for (int column = colCalls; column <= colExclusiveShare; ++column)
        resizeColumnToContents(column);
}

} // namespace korvo
