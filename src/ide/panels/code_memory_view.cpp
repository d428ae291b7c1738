#include "panels/code_memory_view.h"

#include "base/fonts.h"
#include "panels/panel_widgets.h"
#include "simulator/disassembler.h"
#include "simulator/picoblaze_simulator.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QScrollBar>

namespace korvo {

namespace {
// The colours the editor marks these lines with.
const QColor kCurrentBack(0x00, 0x00, 0xFF);
const QColor kBreakpointBack(0xFF, 0x00, 0x00);
const QString kCurrentMark = QStringLiteral("\u25B6");
const QString kBreakpointMark = QStringLiteral("\u25CF");
} // namespace

class TCodeMemoryModel : public QAbstractTableModel {
public:
    struct TRow {
        bool HasCode = false;
        int Line = -1;
        QString Word, Label, Instruction;
    };

    void Bind(TPicoBlazeSimulator* simulator, const TProgramText& program) {
        beginResetModel();
        simulator_ = simulator;
        program_ = program;
        rows_.clear();
        if (simulator_) {
            const TCoreDescription& core = CoreDescription(simulator_->CoreKind());
            for (int address = 0; address < simulator_->CodeSize(); ++address) {
                TCodeEntry entry;
                simulator_->GetCodeEntry(address, entry);
                TRow row;
                row.HasCode = simulator_->HasCode(address);
                row.Line = simulator_->AddressToLine(address);
                row.Label = program_.LabelAt(address);
                if (row.HasCode) {
                    row.Word = DollarHex(entry.Word, core.WordDigits());
                    row.Instruction =
                        QString::fromStdString(Disassemble(simulator_->CoreKind(), entry.Word));
                }
                rows_.push_back(row);
            }
        }
        endResetModel();
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : TCodeMemoryView::colCount;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static const char* const kTitles[] = {"", "Address", "Word", "Label", "Instruction"};
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
            section >= TCodeMemoryView::colCount)
            return {};
        return QString::fromLatin1(kTitles[section]);
    }

    QString Text(int address, int column) const {
        if (!simulator_ || address < 0 || address >= static_cast<int>(rows_.size())) return {};
        const TRow& row = rows_[static_cast<std::size_t>(address)];
        switch (column) {
        case TCodeMemoryView::colMark:
            return (IsCurrent(address) ? kCurrentMark : QString()) +
                   (simulator_->IsBreakpoint(address) ? kBreakpointMark : QString());
        case TCodeMemoryView::colAddress:
            return DollarHex(address, CoreDescription(simulator_->CoreKind()).AddressDigits());
        case TCodeMemoryView::colWord: return row.Word;
        case TCodeMemoryView::colLabel: return row.Label;
        case TCodeMemoryView::colInstruction: return row.Instruction;
        default: return {};
        }
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || !simulator_) return {};
        int address = index.row();
        const TRow& row = rows_[static_cast<std::size_t>(address)];
        switch (role) {
        case Qt::DisplayRole: return Text(address, index.column());
        case Qt::ToolTipRole: return program_.LineText(row.Line);
        case Qt::BackgroundRole:
            if (IsCurrent(address)) return QBrush(kCurrentBack);
            if (simulator_->IsBreakpoint(address)) return QBrush(kBreakpointBack);
            return {};
        case Qt::ForegroundRole:
            if (IsCurrent(address) || simulator_->IsBreakpoint(address)) return QBrush(Qt::white);
            return {};
        default: return {};
        }
    }

    bool IsCurrent(int address) const {
        return simulator_ && simulator_->ShowsCurrentLine() && simulator_->PC() == address;
    }
    // Everything that marks a row may have changed.
    void MarksChanged() {
        if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount({}) - 1, colCount - 1));
    }

    TPicoBlazeSimulator* simulator_ = nullptr;
    TProgramText program_;
    std::vector<TRow> rows_;

private:
    static constexpr int colCount = TCodeMemoryView::colCount;
};

TCodeMemoryView::TCodeMemoryView(QWidget* parent)
    : QTableView(parent), model_(new TCodeMemoryModel) {
    setObjectName(QStringLiteral("CodeMemoryView"));
    model_->setParent(this);
    setModel(model_);
    setFont(FixedFont(12));
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    setColumnWidth(colMark, fontMetrics().horizontalAdvance(kCurrentMark + kBreakpointMark) + 8);
    setColumnWidth(colAddress, fontMetrics().horizontalAdvance(QStringLiteral("Address")) + 8);
    setColumnWidth(colWord, fontMetrics().horizontalAdvance(QStringLiteral("$00000")) + 10);
    setColumnWidth(colLabel, fontMetrics().horizontalAdvance(QStringLiteral("main_loop")) + 10);
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        auto* simulator = model_->simulator_;
        if (!simulator || index.column() != colMark) return;
        int line = simulator->AddressToLine(index.row());
        if (line > 0) simulator->ToggleBreakpoint(line);
        model_->MarksChanged();
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        auto* simulator = model_->simulator_;
        if (simulator && index.column() != colMark)
            if (int line = simulator->AddressToLine(index.row()); line > 0)
                emit SourceLineRequested(line);
    });
}

TCodeMemoryView::~TCodeMemoryView() = default;

void TCodeMemoryView::Bind(TPicoBlazeSimulator* simulator, const TProgramText& program) {
    model_->Bind(simulator, program);
    // The instruction column (the last, which takes the room left) is never
    // narrower than its longest text.
    instructionWidth_ =
        horizontalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("Instruction")) + 16;
    for (const auto& row : model_->rows_)
        instructionWidth_ =
            std::max(instructionWidth_, fontMetrics().horizontalAdvance(row.Instruction) + 10);
    setColumnWidth(colInstruction, instructionWidth_);
    horizontalScrollBar()->setValue(0);
    Refresh();
}

void TCodeMemoryView::Refresh() {
    auto* simulator = model_->simulator_;
    if (!simulator || !simulator->ShowsCurrentLine()) return;
    model_->MarksChanged();
    // Only up or down: the mark column stays where a click reaches it.
    if (simulator->PC() >= 0 && simulator->PC() < model_->rowCount({}))
        scrollTo(model_->index(simulator->PC(), colMark), QAbstractItemView::EnsureVisible);
}

QSize TCodeMemoryView::sizeHint() const {
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < colInstruction; ++column)
        width += columnWidth(column);
    // Not the stretched width of the last column: the hint would grow with
    // the dock.
    width += instructionWidth_ > 0
                 ? instructionWidth_
                 : fontMetrics().horizontalAdvance(QStringLiteral("LOAD s0, $FF")) + 10;
    return {width, QTableView::sizeHint().height()};
}

QString TCodeMemoryView::CellText(int address, TColumn column) const {
    return model_->Text(address, column);
}

} // namespace korvo
