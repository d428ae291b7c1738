#pragma once

#include "common/settings_layout.h"

#include <QTreeWidget>
#include <vector>

namespace korvo {

// One list of the JTAG scan chain: a row per device with the columns "Chip
// type", "IR length", "ID", "IDCODE" and "USER1". Rows can be dragged to the
// list's partner (the devices before the target to those after it and back);
// a list takes rows from its partner only.
class TChainListWidget : public QTreeWidget {
    Q_OBJECT
public:
    explicit TChainListWidget(QWidget* parent = nullptr);

    // The list that rows are dragged to and taken from; none disables dragging.
    void SetDragPartner(TChainListWidget* partner);

    int RowCount() const { return topLevelItemCount(); }
    // The selected row, -1 when none.
    int SelectedRow() const;
    void SelectRow(int row);

    settings::TChipDescription Row(int row) const;
    std::vector<settings::TChipDescription> Rows() const;
    void SetRows(const std::vector<settings::TChipDescription>& rows);
    void AppendRow(const settings::TChipDescription& row);
    void ReplaceRow(int row, const settings::TChipDescription& chip);
    void RemoveRow(int row);

    // Moves a row of the partner into this list: before the selected row,
    // or at the end when none is selected.
    void TakeRowFromPartner(int partnerRow);

    static const QString& RowMimeType();

signals:
    // Rows were added, removed or changed.
    void RowsChanged();

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    Qt::DropActions supportedDropActions() const override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The partner's row a drag carries, -1 when the data does not come from
    // the partner.
    int PartnerRowOf(const QMimeData* data) const;
    static QTreeWidgetItem* MakeItem(const settings::TChipDescription& chip);
    static void ShowChip(QTreeWidgetItem* item, const settings::TChipDescription& chip);

    TChainListWidget* partner_ = nullptr;
};

} // namespace korvo
