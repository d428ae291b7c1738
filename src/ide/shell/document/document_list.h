#pragma once

#include "common/core_kind.h"
#include "shell/document/document_interfaces.h"

#include <functional>
#include <memory>
#include <vector>

class QTabWidget;
class QWidget;

namespace korvo {

class IDocumentHost;
class ILog;
class TDocument;

// The open documents, in creation order, and the document that has focus
// (reached as the five "active" interfaces, which are all set or all empty).
class TDocumentList {
public:
    TDocumentList() = default;
    explicit TDocumentList(IDocumentHost& host) : host_(&host) {}
    void SetHost(IDocumentHost& host) { host_ = &host; }
    ~TDocumentList();

    // Asks each document, last to first, about unsaved changes; false as
    // soon as one says no.
    bool CanCloseAll();
    // Closes each document, last to first. Without asking (the program is
    // going down) modified documents close without a question.
    void CloseAll(bool askUser = true);
    // A new document in a new tab of tabs, shown and made the current tab;
    // the caller opens a file in it (or none, for an untitled one), which
    // names the tab and logs "Read: " or "Created: ".
    std::shared_ptr<TDocument> CreateTabDocument(QTabWidget* tabs, ILog& log, TCoreKind coreKind);
    int Count() const { return static_cast<int>(documents_.size()); }
    std::shared_ptr<TDocument> Get(int index) const;
    void Remove(TDocument* document);
    // The document whose tab page is page, or none.
    TDocument* DocumentOfPage(const QWidget* page) const;

    TDocument* Active() const { return active_.get(); }
    IDocument* ActiveDocument() const;
    IDocumentEditCommands* ActiveEditCommands() const;
    IDocumentFileCommands* ActiveFileCommands() const;
    IDocumentSearchCommands* ActiveSearchCommands() const;
    IDocumentSimulation* ActiveSimulation() const;

    // Makes document the active one; another active document first returns
    // to Edit mode.
    void Activate(TDocument& document);
    void ClearActive();

    // Called whenever the active document or the list changes.
    std::function<void()> OnChange;

private:
    void Changed();

    IDocumentHost* host_ = nullptr;
    std::vector<std::shared_ptr<TDocument>> documents_;
    std::shared_ptr<TDocument> active_;
};

} // namespace korvo
