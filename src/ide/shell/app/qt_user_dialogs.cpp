#include "shell/app/qt_user_dialogs.h"

#include "panels/ram_rom_entry_form.h"
#include "shell/app/about_box.h"
#include "shell/search/confirm_replace_dialog.h"
#include "shell/search/search_dialog.h"
#include "shell/settings/settings_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace korvo {

QStringList NameFilters(const QString& filter) {
    QStringList parts = filter.split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        if (description.isEmpty()) continue;
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(';', ' ');
        if (patterns == QLatin1String("*.*")) patterns = QStringLiteral("*");
        // The description's own pattern list, if any, is replaced by the
        // one the dialog reads.
        int open = description.lastIndexOf('(');
        if (open > 0 && description.endsWith(')')) description = description.left(open).trimmed();
        filters << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return filters;
}

namespace {
// Starts a file dialog at fileName: a file is chosen in its folder, a name
// ending in "/" opens that folder.
void StartAt(QFileDialog& dialog, const QString& fileName) {
    if (fileName.isEmpty()) return;
    QFileInfo info(fileName);
    dialog.setDirectory(info.absolutePath());
    // An untitled name ("*.psm") gives only the folder.
    if (!info.fileName().isEmpty() && !info.fileName().contains('*'))
        dialog.selectFile(info.fileName());
}
} // namespace

TQtUserDialogs::TQtUserDialogs() = default;
TQtUserDialogs::~TQtUserDialogs() = default;

TSaveAnswer TQtUserDialogs::AskSaveChanges(QWidget* parent, const QString& question) {
    QApplication::beep();
    auto answer = QMessageBox::question(parent, QApplication::applicationName(), question,
                                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                        QMessageBox::Yes);
    if (answer == QMessageBox::Yes) return TSaveAnswer::Yes;
    if (answer == QMessageBox::No) return TSaveAnswer::No;
    return TSaveAnswer::Cancel;
}

bool TQtUserDialogs::ChooseOpenFile(QWidget* parent, const QString& filter, QString& fileName) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(NameFilters(filter));
    StartAt(dialog, fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    fileName = dialog.selectedFiles().first();
    return true;
}

bool TQtUserDialogs::ChooseSaveFile(QWidget* parent, const QString& filter,
                                    const QString& defaultSuffix, QString& fileName) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(NameFilters(filter));
    dialog.setDefaultSuffix(defaultSuffix);
    StartAt(dialog, fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    fileName = dialog.selectedFiles().first();
    return true;
}

bool TQtUserDialogs::EditSearch(QWidget* parent, bool replace, TSearchState& state) {
    TTextSearchDialog dialog(replace, parent);
    dialog.Load(state);
    if (dialog.exec() != QDialog::Accepted) return false;
    dialog.Store(state);
    return true;
}

TReplaceAnswer TQtUserDialogs::ConfirmReplace(QWidget* editor, const QRect& match,
                                              const QString& searchText) {
    if (!confirmDialog_) confirmDialog_ = std::make_unique<TConfirmReplaceDialog>(editor);
    confirmDialog_->SetSearchText(searchText);
    QRect editorRect(editor->mapToGlobal(QPoint(0, 0)), editor->size());
    confirmDialog_->adjustSize();
    confirmDialog_->move(PlaceConfirmDialog(editorRect, match, confirmDialog_->frameSize()));
    return confirmDialog_->Ask();
}

void TQtUserDialogs::EndReplace() {
    confirmDialog_.reset();
}

void TQtUserDialogs::ShowError(QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, QApplication::applicationName(), message);
}

bool TQtUserDialogs::EnterValue(QWidget* parent, int address, std::int32_t& value) {
    TRAMROMEntryForm form(address, value, parent);
    if (form.exec() != QDialog::Accepted) return false;
    value = form.Value();
    return true;
}

void TQtUserDialogs::ShowAbout(QWidget* parent) {
    TdlgAbout about(parent);
    about.exec();
}

bool TQtUserDialogs::EditSettings(QWidget* parent, ISettingsStore& settings, TCoreKind coreKind,
                                  ILog& log) {
    return ShowSettingsDialog(parent, settings, coreKind, log);
}

bool TQtUserDialogs::ChoosePrintRange(QWidget* parent, QPrinter& printer, int pageCount) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, std::max(1, pageCount));
    printer.setFromTo(1, std::max(1, pageCount));
    return dialog.exec() == QDialog::Accepted;
}

bool TQtUserDialogs::AskLineNumber(QWidget* parent, int lineCount, int& line) {
    bool ok = false;
    int chosen = QInputDialog::getInt(parent, QStringLiteral("  Go to Line"),
                                      QStringLiteral("Line (1 to %1):").arg(lineCount),
                                      std::clamp(line, 1, lineCount), 1, lineCount, 1, &ok);
    if (ok) line = chosen;
    return ok;
}

void TQtUserDialogs::Beep() {
    QApplication::beep();
}

} // namespace korvo
