#pragma once

#include "base/text_search.h"

#include <QDialog>

class QLabel;

namespace korvo {

// Asks whether to replace one match: Yes, No, Cancel or Yes to all.
class TConfirmReplaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit TConfirmReplaceDialog(QWidget* parent = nullptr);
    void SetSearchText(const QString& searchText);
    // Shows the dialog modally where it was placed.
    TReplaceAnswer Ask();

private:
    QLabel* question_ = nullptr;
};

} // namespace korvo
