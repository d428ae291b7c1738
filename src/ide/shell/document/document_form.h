#pragma once

#include <QStringList>
#include <QWidget>

class QMenu;

namespace korvo {

class ILog;
class TDocument;
class TSourceEditor;

// The window inside a document tab: the text control and its context menu,
// the assembler's listing and the search-from-caret switch of its document.
class TDocumentForm : public QWidget {
    Q_OBJECT
public:
    explicit TDocumentForm(QWidget* parent = nullptr);

    TSourceEditor* SynEditor = nullptr;
    QMenu* pmnuEditor = nullptr;
    TDocument* Owner = nullptr;
    ILog* LogPane = nullptr;
    // One entry per source line in Simulate and Errors modes; empty otherwise.
    QStringList ListingLines;
    bool HasListing = false;
    bool SearchFromCaret = false;

    // Asks the document whether it may close (unless the program is going
    // down) and, when it may, removes this form after the current event.
    bool RequestClose(bool askUser);
    bool IsClosing() const { return closing_; }

signals:
    void Closing();

private:
    bool closing_ = false;
};

} // namespace korvo
