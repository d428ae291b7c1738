#include "shell/document/document_form.h"

#include "shell/document/document.h"
#include "shell/document/source_editor.h"

#include <QMenu>
#include <QVBoxLayout>

namespace korvo {

TDocumentForm::TDocumentForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("EditorForm"));
    SynEditor = new TSourceEditor(this);
    SynEditor->setObjectName(QStringLiteral("SynEditor"));
    pmnuEditor = new QMenu(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(SynEditor);
    setFocusProxy(SynEditor);
}

bool TDocumentForm::RequestClose(bool askUser) {
    if (closing_) return true;
    if (askUser && Owner && !Owner->AskSaveChanges()) return false;
    closing_ = true;
    emit Closing();
    // The tab page (this form's parent) goes once the current event is over,
    // so that whoever asked for the close can still return through it.
    if (QWidget* page = parentWidget())
        page->deleteLater();
    else
        deleteLater();
    return true;
}

} // namespace korvo
