#pragma once

#include "base/user_dialogs.h"

#include <QStringList>
#include <memory>

namespace korvo {

// The dialogs the user sees.
class TQtUserDialogs : public IUserDialogs {
public:
    TQtUserDialogs();
    ~TQtUserDialogs() override;
    TSaveAnswer AskSaveChanges(QWidget* parent, const QString& question) override;
    bool ChooseOpenFile(QWidget* parent, const QString& filter, QString& fileName) override;
    bool ChooseSaveFile(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                        QString& fileName) override;
    bool EditSearch(QWidget* parent, bool replace, TSearchState& state) override;
    TReplaceAnswer ConfirmReplace(QWidget* editor, const QRect& match,
                                  const QString& searchText) override;
    void EndReplace() override;
    void ShowError(QWidget* parent, const QString& message) override;
    bool EnterValue(QWidget* parent, int address, std::int32_t& value) override;
    void ShowAbout(QWidget* parent) override;
    bool EditSettings(QWidget* parent, ISettingsStore& settings, TCoreKind coreKind,
                      ILog& log) override;
    bool ChoosePrintRange(QWidget* parent, QPrinter& printer, int pageCount) override;
    void Beep() override;
    bool AskLineNumber(QWidget* parent, int lineCount, int& line) override;

private:
    std::unique_ptr<TConfirmReplaceDialog> confirmDialog_;
};

// "Korvo files (*.psm,*.asm)|*.psm;*.asm|All files|*.*|" as the dialog
// filters "Korvo files (*.psm *.asm)" and "All files (*)".
QStringList NameFilters(const QString& filter);

} // namespace korvo
