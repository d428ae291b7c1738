#include "base/dialog_buttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace korvo {

TOkCancelButtons AddOkCancelButtons(QDialog& dialog, const QString& okCaption) {
    TOkCancelButtons buttons;
    buttons.Box = new QDialogButtonBox(&dialog);
    buttons.Ok = buttons.Box->addButton(okCaption, QDialogButtonBox::AcceptRole);
    buttons.Cancel = buttons.Box->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    buttons.Ok->setDefault(true);
    QObject::connect(buttons.Box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons.Box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

} // namespace korvo
