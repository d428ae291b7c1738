#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace korvo {

class ILog;
class TDocument;
class TDocumentList;
class TPrintEngine;

// What the command module needs of the main window.
class IWorkbench {
public:
    virtual ~IWorkbench() = default;
    virtual QWidget* Window() = 0;
    virtual ILog& Log() = 0;
    virtual TDocumentList& Documents() = 0;
    // Opens a file as a document, or activates it when it is open already;
    // an empty name gives a new untitled document.
    virtual void OpenDocument(const QString& fileName) = 0;
    // A new empty document tab.
    virtual std::shared_ptr<TDocument> CreateDocument() = 0;
    // The print preview in place of the document tabs, and back.
    virtual void ShowPreviewPane(TPrintEngine& engine) = 0;
    virtual void HidePreviewPane() = 0;
    // Brings the commands, the status bar and the window caption up to date.
    virtual void RepaintStatus() = 0;
    // Brings only the status bar up to date (cheap enough for every yield of a run).
    virtual void RepaintStatusBar() = 0;
    // Puts the simulation panels into the window: the status and I/O panels
    // beside the documents, the memory panels and the UART terminals into
    // the dock panel below them. A null panel is left out.
    virtual void DockSimulationPanels(QWidget* status, QWidget* io, QWidget* memory,
                                      QWidget* terminals = nullptr) = 0;
    // Takes every simulation panel out of the window again, without
    // destroying it.
    virtual void UndockSimulationPanels() = 0;
    // Shows the code memory and call stack views of a simulation, or hides
    // them when it ends.
    virtual void ShowSimulationViews(bool show) = 0;
};

} // namespace korvo
