#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace korvo {

class ILog;
class TEditor;
class TEditorFactory;
class TPrintEngine;

// What the command module needs of the main window.
class IWorkbench {
public:
    virtual ~IWorkbench() = default;
    virtual QWidget* Window() = 0;
    virtual ILog& Log() = 0;
    virtual TEditorFactory& Documents() = 0;
    // Opens a file as a document, or activates it when it is open already;
    // an empty name gives a new untitled document.
    virtual void OpenDocument(const QString& fileName) = 0;
    // A new empty document tab.
    virtual std::shared_ptr<TEditor> CreateDocument() = 0;
    // The print preview in place of the document tabs, and back.
    virtual void ShowPreviewPane(TPrintEngine& engine) = 0;
    virtual void HidePreviewPane() = 0;
    // Brings the status bar and the window caption up to date.
    virtual void RepaintStatus() = 0;
};

} // namespace korvo
