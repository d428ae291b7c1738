#pragma once

#include "base/text_search.h"
#include "common/core_kind.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

class QPrinter;
class QWidget;

namespace korvo {

class ILog;
class ISettingsStore;
class TConfirmReplaceDialog;
struct TSearchState;

enum class TSaveAnswer { Yes, No, Cancel };

// Every dialog and sound the commands and documents use. The program shows
// the real dialogs (TQtUserDialogs); tests put scripted answers in their place.
// File filters use the "Description|patterns|..." form.
class IUserDialogs {
public:
    virtual ~IUserDialogs() = default;
    virtual TSaveAnswer AskSaveChanges(QWidget* parent, const QString& question) = 0;
    // fileName is the initial choice (a name ending in "/": the folder to
    // start in) and, on true, the chosen file.
    virtual bool ChooseOpenFile(QWidget* parent, const QString& filter, QString& fileName) = 0;
    virtual bool ChooseSaveFile(QWidget* parent, const QString& filter,
                                const QString& defaultSuffix, QString& fileName) = 0;
    // The search (replace: the replace) dialog, filled from state; on true
    // state holds what the user chose.
    virtual bool EditSearch(QWidget* parent, bool replace, TSearchState& state) = 0;
    // Asked for each match while replacing; match is in global coordinates.
    virtual TReplaceAnswer ConfirmReplace(QWidget* editor, const QRect& match,
                                          const QString& searchText) = 0;
    // The search that asked ConfirmReplace is over.
    virtual void EndReplace() = 0;
    virtual void ShowError(QWidget* parent, const QString& message) = 0;
    // The value-entry dialog of the simulation panels for one address; on
    // true value holds what the user typed, cut to 8 bits.
    virtual bool EnterValue(QWidget* parent, int address, std::int32_t& value) = 0;
    virtual void ShowAbout(QWidget* parent) = 0;
    virtual bool EditSettings(QWidget* parent, ISettingsStore& settings, TCoreKind coreKind,
                              ILog& log) = 0;
    // The print dialog offering pages 1 to pageCount; on true the printer's
    // range holds the choice.
    virtual bool ChoosePrintRange(QWidget* parent, QPrinter& printer, int pageCount) = 0;
    virtual void Beep() = 0;
    // The Go to Line dialog for a text of lineCount lines; on true line holds
    // the chosen line (1 to lineCount).
    virtual bool AskLineNumber(QWidget* parent, int lineCount, int& line) = 0;
};

} // namespace korvo
