#include "shell/settings/chain_list.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <optional>

namespace korvo {

namespace {

enum TChainColumn { ccChip, ccIRLength, ccID, ccIDCODE, ccUSER1, ccCount };

// What a dragged row carries: the process and the list it comes from, so that
// a list can tell its partner's rows from anything else, and the row.
struct TRowDragData {
    qint64 ProcessId = 0;
    quintptr Source = 0;
    int Row = -1;
};

QByteArray Encode(const TRowDragData& data) {
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << data.ProcessId << static_cast<quint64>(data.Source) << data.Row;
    return bytes;
}

std::optional<TRowDragData> Decode(const QByteArray& bytes) {
    QDataStream stream(bytes);
    TRowDragData data;
    quint64 source = 0;
    stream >> data.ProcessId >> source >> data.Row;
    if (stream.status() != QDataStream::Ok) return std::nullopt;
    data.Source = static_cast<quintptr>(source);
    return data;
}

} // namespace

const QString& TChainListWidget::RowMimeType() {
    static const QString type = QStringLiteral("application/x-korvo-chain-row");
    return type;
}

TChainListWidget::TChainListWidget(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(ccCount);
    setHeaderLabels({QStringLiteral("Chip type"), QStringLiteral("IR length"), QStringLiteral("ID"),
                     QStringLiteral("IDCODE"), QStringLiteral("USER1")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setFocusPolicy(Qt::StrongFocus);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(ccChip, QHeaderView::Stretch);
    for (int column = ccIRLength; column < ccCount; ++column)
        header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    header()->setSectionsMovable(false);
    SetDragPartner(nullptr);
}

void TChainListWidget::SetDragPartner(TChainListWidget* partner) {
    partner_ = partner;
    setDragEnabled(partner != nullptr);
    setAcceptDrops(partner != nullptr);
    setDragDropMode(partner ? QAbstractItemView::DragDrop : QAbstractItemView::NoDragDrop);
    setDropIndicatorShown(false);
}

int TChainListWidget::SelectedRow() const {
    const auto selected = selectedItems();
    return selected.isEmpty() ? -1 : indexOfTopLevelItem(selected.front());
}

void TChainListWidget::SelectRow(int row) {
    if (row < 0 || row >= RowCount()) {
        clearSelection();
        return;
    }
    setCurrentItem(topLevelItem(row));
}

void TChainListWidget::ShowChip(QTreeWidgetItem* item, const settings::TChipDescription& chip) {
    item->setText(ccChip, QString::fromStdString(chip.Chip));
    item->setText(ccIRLength, QString::fromStdString(chip.IRLength));
    item->setText(ccID, QString::fromStdString(chip.ID));
    item->setText(ccIDCODE, QString::fromStdString(chip.IDCODE));
    item->setText(ccUSER1, QString::fromStdString(chip.USER1));
}

QTreeWidgetItem* TChainListWidget::MakeItem(const settings::TChipDescription& chip) {
    auto* item = new QTreeWidgetItem;
    ShowChip(item, chip);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    for (int column = ccIRLength; column < ccCount; ++column)
        item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

settings::TChipDescription TChainListWidget::Row(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    if (!item) return {};
    return {item->text(ccChip).toStdString(), item->text(ccIRLength).toStdString(),
            item->text(ccID).toStdString(), item->text(ccIDCODE).toStdString(),
            item->text(ccUSER1).toStdString()};
}

std::vector<settings::TChipDescription> TChainListWidget::Rows() const {
    std::vector<settings::TChipDescription> rows;
    for (int row = 0; row < RowCount(); ++row)
        rows.push_back(Row(row));
    return rows;
}

void TChainListWidget::SetRows(const std::vector<settings::TChipDescription>& rows) {
    clear();
    for (const auto& chip : rows)
        addTopLevelItem(MakeItem(chip));
    emit RowsChanged();
}

void TChainListWidget::AppendRow(const settings::TChipDescription& row) {
    addTopLevelItem(MakeItem(row));
    emit RowsChanged();
}

void TChainListWidget::ReplaceRow(int row, const settings::TChipDescription& chip) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item) return;
    ShowChip(item, chip);
    emit RowsChanged();
}

void TChainListWidget::RemoveRow(int row) {
    if (row < 0 || row >= RowCount()) return;
    delete takeTopLevelItem(row);
    emit RowsChanged();
}

void TChainListWidget::TakeRowFromPartner(int partnerRow) {
    if (!partner_ || partnerRow < 0 || partnerRow >= partner_->RowCount()) return;
    QTreeWidgetItem* item = partner_->takeTopLevelItem(partnerRow);
    int selected = SelectedRow();
    if (selected < 0)
        addTopLevelItem(item);
    else
        insertTopLevelItem(selected, item);
    emit partner_->RowsChanged();
    emit RowsChanged();
}

QStringList TChainListWidget::mimeTypes() const {
    return {RowMimeType()};
}

QMimeData* TChainListWidget::mimeData(const QList<QTreeWidgetItem*>& items) const {
    if (items.isEmpty()) return nullptr;
    auto* data = new QMimeData;
    data->setData(RowMimeType(),
                  Encode({QCoreApplication::applicationPid(), reinterpret_cast<quintptr>(this),
                          indexOfTopLevelItem(items.front())}));
    return data;
}

Qt::DropActions TChainListWidget::supportedDropActions() const {
    return Qt::MoveAction;
}

void TChainListWidget::startDrag(Qt::DropActions supportedActions) {
    // The receiving list moves the row itself; the default drag would remove
    // the source row a second time after a move.
    const auto selected = selectedItems();
    if (!partner_ || selected.isEmpty()) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(mimeData(selected));
    drag->exec(supportedActions & Qt::MoveAction, Qt::MoveAction);
}

int TChainListWidget::PartnerRowOf(const QMimeData* data) const {
    if (!partner_ || !data || !data->hasFormat(RowMimeType())) return -1;
    auto decoded = Decode(data->data(RowMimeType()));
    if (!decoded || decoded->ProcessId != QCoreApplication::applicationPid() ||
        decoded->Source != reinterpret_cast<quintptr>(partner_))
        return -1;
    return decoded->Row >= 0 && decoded->Row < partner_->RowCount() ? decoded->Row : -1;
}

void TChainListWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (PartnerRowOf(event->mimeData()) < 0) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void TChainListWidget::dragMoveEvent(QDragMoveEvent* event) {
    if (PartnerRowOf(event->mimeData()) < 0) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void TChainListWidget::dropEvent(QDropEvent* event) {
    int row = PartnerRowOf(event->mimeData());
    if (row < 0) {
        event->ignore();
        return;
    }
    TakeRowFromPartner(row);
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

} // namespace korvo
