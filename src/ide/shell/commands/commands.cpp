#include "shell/commands/commands.h"

#include "base/user_dialogs.h"
#include "common/log.h"
#include "common/settings.h"
#include "common/settings_layout.h"
#include "common/text_file.h"
#include "panels/simulation_panels.h"
#include "shell/app/workbench.h"
#include "shell/commands/run_speed.h"
#include "shell/document/document.h"
#include "shell/document/document_list.h"
#include "shell/document/printing.h"
#include "shell/document/source_editor.h"
#include "shell/settings/highlighter_settings.h"
#include "shell/settings/ide_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace korvo {

TCommandsDataModule::TCommandsDataModule(IWorkbench& workbench, TActionList& actions,
                                         ISettingsStore& settings, IUserDialogs& dialogs,
                                         QObject* parent)
    : QObject(parent), workbench_(workbench), actions_(actions), settings_(settings),
      dialogs_(dialogs), printEngine_(std::make_unique<TPrintEngine>()) {
    highlighters_.push_back({&parser_, QString::fromLatin1(TSynPicoBlaze::kDefaultFilter)});
    for (const auto& highlighter : highlighters_) {
        openFilter_ += highlighter.Filter;
        if (!openFilter_.endsWith('|')) openFilter_ += '|';
    }
    openFilter_ += QStringLiteral("All files|*.*|");
    simulationPanels_ =
        std::make_unique<TSimulationPanels>(dialogs_, [this] { return DialogParent(); });
    CreateFileAndEditCommands();
    CreateSearchCommands();
    CreateNavigationCommands();
    CreateSettingsCommands();
    CreateSimulationCommands();
    LoadHighlighterAttributes();
    ReadColumns();
}

TCommandsDataModule::~TCommandsDataModule() = default;

ILog& TCommandsDataModule::Log() {
    return workbench_.Log();
}

QWidget* TCommandsDataModule::DialogParent() {
    return workbench_.Window();
}

IDocument* TCommandsDataModule::ActiveDocument() const {
    return workbench_.Documents().ActiveDocument();
}
IDocumentEditCommands* TCommandsDataModule::ActiveEditCommands() const {
    return workbench_.Documents().ActiveEditCommands();
}
IDocumentFileCommands* TCommandsDataModule::ActiveFileCommands() const {
    return workbench_.Documents().ActiveFileCommands();
}
IDocumentSearchCommands* TCommandsDataModule::ActiveSearchCommands() const {
    return workbench_.Documents().ActiveSearchCommands();
}
IDocumentSimulation* TCommandsDataModule::ActiveSimulation() const {
    return workbench_.Documents().ActiveSimulation();
}

bool TCommandsDataModule::PreviewOn() const {
    auto* file = ActiveFileCommands();
    return file && file->Preview();
}

bool TCommandsDataModule::EditMode() const {
    auto* simulation = ActiveSimulation();
    return simulation && simulation->Mode() == dmEdit;
}

const TLexerEntry* TCommandsDataModule::HighlighterForFile(const QString& fileName) const {
    if (fileName.isEmpty()) return nullptr;
    int dot = fileName.lastIndexOf('.');
    if (dot < 0) return nullptr;
    QString extension = fileName.mid(dot).toLower();
    for (const auto& highlighter : highlighters_) {
        QString filter = highlighter.Filter.toLower();
        int bar = filter.indexOf('|');
        QString patterns = bar >= 0 ? filter.mid(bar + 1) : QString();
        for (int at = patterns.indexOf(extension); at >= 0;
             at = patterns.indexOf(extension, at + 1)) {
            int after = at + static_cast<int>(extension.size());
            if (after == patterns.size() || patterns[after] == ';') return &highlighter;
        }
    }
    return nullptr;
}

QString TCommandsDataModule::DialogStartFolder() const {
    if (auto* document = workbench_.Documents().Active()) {
        QFileInfo file(document->FileName());
        if (!document->FileName().isEmpty() && !document->FileName().contains('*') &&
            file.absoluteDir().exists())
            return file.absolutePath();
    }
    QString last =
        QFile::decodeName(QByteArray::fromStdString(settings::LoadLastFolder(settings_)));
    return QFileInfo(last).isDir() ? last : QString();
}

void TCommandsDataModule::RememberDialogFolder(const QString& chosen) {
    settings::StoreLastFolder(settings_,
                              QFile::encodeName(QFileInfo(chosen).absolutePath()).toStdString());
}

bool TCommandsDataModule::ExecuteOpenDialog(QString& fileName) {
    // Without a name of its own the dialog starts in the active document's
    // folder, else in the one used last.
    if (fileName.isEmpty()) {
        QString folder = DialogStartFolder();
        if (!folder.isEmpty()) fileName = folder + '/';
    }
    if (!dialogs_.ChooseOpenFile(DialogParent(), openFilter_, fileName)) return false;
    RememberDialogFolder(fileName);
    return true;
}

bool TCommandsDataModule::ExecuteSaveDialog(QString& fileName, const TLexerEntry* highlighter) {
    return ExecuteSaveDialog(fileName,
                             highlighter ? highlighter->Filter : QStringLiteral("All files|*.*|"),
                             QStringLiteral("psm"));
}

bool TCommandsDataModule::ExecuteSaveDialog(QString& fileName, const QString& filter,
                                            const QString& suffix) {
    QString chosen = fileName;
    if (chosen.isEmpty()) {
        QString folder = DialogStartFolder();
        if (!folder.isEmpty()) chosen = folder + '/';
    }
    if (!dialogs_.ChooseSaveFile(DialogParent(), filter, suffix, chosen)) return false;
    fileName = QFileInfo(chosen).absoluteFilePath();
    RememberDialogFolder(fileName);
    return true;
}

void TCommandsDataModule::ShowSourceLine(const QString& fileName, int line) {
    workbench_.OpenDocument(fileName);
    if (auto* document = ActiveDocument()) document->SetCaretPos({line, 1});
}

QList<QAction*> TCommandsDataModule::EditorContextActions() {
    return {actEditUndo,   actEditRedo, nullptr,          actEditCut, actEditCopy, actEditPaste,
            actEditDelete, nullptr,     actEditSelectAll, nullptr,    actComment,  nullptr};
}

void TCommandsDataModule::LoadHighlighterAttributes() {
    ::korvo::LoadHighlighterAttributes(settings_, parser_.Attributes());
    auto& documents = workbench_.Documents();
    for (int i = 0; i < documents.Count(); ++i)
        documents.Get(i)->ReloadHighlighter();
}

void TCommandsDataModule::ReadColumns() {
    columns_ = ReadFormatColumns(settings_);
    if (auto* edit = ActiveEditCommands()) edit->SetRightEdge(columns_.Column3);
}

bool TCommandsDataModule::ShowPreview(TDocument& document) {
    // The preview opens at once; the paper is chosen in the print dialog.
    auto* text = document.TextControl();
    if (!text) return false;
    QStringList listing = document.Mode() != dmEdit ? document.Listing() : QStringList();
    printEngine_->SetSource(SplitLines(text->Bytes()), listing,
                            document.Highlighter() ? document.Highlighter()->Scanner : nullptr,
                            document.FileName().isEmpty() ? document.Title() : document.FileName(),
                            text->EditorFont());
    workbench_.ShowPreviewPane(*printEngine_);
    return true;
}

void TCommandsDataModule::HidePreview() {
    workbench_.HidePreviewPane();
    printEngine_->Clear();
}

void TCommandsDataModule::Print(TDocument& document) {
    auto* text = document.TextControl();
    if (!text) return;
    // The preview, when it is showing, keeps its own text in the engine.
    bool previewing = printEngine_->HasSource() && document.Preview();
    if (!previewing)
        printEngine_->SetSource(SplitLines(text->Bytes()), QStringList(),
                                document.Highlighter() ? document.Highlighter()->Scanner : nullptr,
                                document.FileName().isEmpty() ? document.Title()
                                                              : document.FileName(),
                                text->EditorFont());
    int pages = printEngine_->PageCount();
    auto& printer = printEngine_->Printer();
    printer.setFromTo(0, 0);
    if (dialogs_.ChoosePrintRange(DialogParent(), printer, pages)) printEngine_->PrintOn(printer);
    if (!previewing) printEngine_->Clear();
}

} // namespace korvo
