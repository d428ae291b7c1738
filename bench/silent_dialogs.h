#pragma once

// Dialogs of the benchmarks of the desktop program.
#include "base/user_dialogs.h"

namespace korvo {

// Dialogs that never show: the measured work must not wait for a user.
class TSilentDialogs : public IUserDialogs {
public:
    TSaveAnswer AskSaveChanges(QWidget*, const QString&) override { return TSaveAnswer::No; }
    bool ChooseOpenFile(QWidget*, const QString&, QString&) override { return false; }
    bool ChooseSaveFile(QWidget*, const QString&, const QString&, QString&) override {
        return false;
    }
    bool EditSearch(QWidget*, bool, TSearchState&) override { return false; }
    TReplaceAnswer ConfirmReplace(QWidget*, const QRect&, const QString&) override {
        return TReplaceAnswer::Cancel;
    }
    void EndReplace() override {}
    void ShowError(QWidget*, const QString&) override {}
    bool EnterValue(QWidget*, int, std::int32_t&) override { return false; }
    void ShowAbout(QWidget*) override {}
    bool EditSettings(QWidget*, ISettingsStore&, TCoreKind, ILog&) override { return false; }
    bool ChoosePrintRange(QWidget*, QPrinter&, int) override { return false; }
    void Beep() override {}
    bool AskLineNumber(QWidget*, int, int&) override { return false; }
};

} // namespace korvo
