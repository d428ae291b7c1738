#pragma once

#include <QString>

class QDialog;
class QDialogButtonBox;
class QPushButton;

namespace korvo {

struct TOkCancelButtons {
    QDialogButtonBox* Box = nullptr;
    QPushButton* Ok = nullptr;
    QPushButton* Cancel = nullptr;
};

// OK (the default button) and Cancel, accepting and rejecting the dialog.
TOkCancelButtons AddOkCancelButtons(QDialog& dialog,
                                    const QString& okCaption = QStringLiteral("OK"));

} // namespace korvo
