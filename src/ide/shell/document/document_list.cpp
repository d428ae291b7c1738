#include "shell/document/document_list.h"

#include "shell/document/document.h"
#include "shell/document/document_form.h"
#include "shell/document/document_host.h"
#include "shell/document/source_editor.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace korvo {

TDocumentList::~TDocumentList() = default;

bool TDocumentList::CanCloseAll() {
    auto documents = documents_;
    for (auto it = documents.rbegin(); it != documents.rend(); ++it)
        if (!(*it)->AskSaveChanges()) return false;
    return true;
}

void TDocumentList::CloseAll(bool askUser) {
    auto documents = documents_;
    for (auto it = documents.rbegin(); it != documents.rend(); ++it) {
        if (askUser) {
            (*it)->Close();
        } else {
            if (!(*it)->FileName().isEmpty()) host_->AddRecentFile((*it)->FileName());
            if (auto* form = (*it)->Form()) form->RequestClose(false);
        }
    }
}

std::shared_ptr<TDocument> TDocumentList::CreateTabDocument(QTabWidget* tabs, ILog& log,
                                                            TCoreKind coreKind) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("EditorTabSheet"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* form = new TDocumentForm(page);
    layout->addWidget(form);
    form->LogPane = &log;

    auto document = std::make_shared<TDocument>(*host_, *this);
    document->AttachForm(form, tabs);
    document->SetCoreKind(coreKind);
    documents_.push_back(document);
    int index = tabs->addTab(page, QString());
    tabs->setCurrentIndex(index);
    document->ApplyEditorSettings(host_->Settings());
    document->SetRightEdge(host_->Columns().Column3);
    Changed();
    return document;
}

std::shared_ptr<TDocument> TDocumentList::Get(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return documents_[index];
}

void TDocumentList::Remove(TDocument* document) {
    auto found = std::find_if(documents_.begin(), documents_.end(),
                              [&](const auto& entry) { return entry.get() == document; });
    if (found == documents_.end()) return;
    // Keep the document alive until this call is over: it may be the caller.
    auto keep = *found;
    documents_.erase(found);
    if (active_.get() == document) active_.reset();
    Changed();
}

TDocument* TDocumentList::DocumentOfPage(const QWidget* page) const {
    for (const auto& document : documents_)
        if (page && document->TabPage() == page) return document.get();
    return nullptr;
}

IDocument* TDocumentList::ActiveDocument() const {
    return active_.get();
}
IDocumentEditCommands* TDocumentList::ActiveEditCommands() const {
    return active_.get();
}
IDocumentFileCommands* TDocumentList::ActiveFileCommands() const {
    return active_.get();
}
IDocumentSearchCommands* TDocumentList::ActiveSearchCommands() const {
    return active_.get();
}
IDocumentSimulation* TDocumentList::ActiveSimulation() const {
    return active_.get();
}

void TDocumentList::Activate(TDocument& document) {
    if (active_.get() == &document) return;
    if (active_) {
        auto previous = active_;
        if (previous->Mode() != dmEdit) previous->SetMode(dmEdit);
        active_.reset();
    }
    active_ = document.shared_from_this();
    Changed();
}

void TDocumentList::ClearActive() {
    if (!active_) return;
    active_.reset();
    Changed();
}

void TDocumentList::Changed() {
    if (OnChange) OnChange();
}

} // namespace korvo
