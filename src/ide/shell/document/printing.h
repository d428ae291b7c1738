#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <Qsci/qsciprinter.h>
#include <memory>
#include <string>
#include <vector>

namespace korvo {

class TSourceEditor;
class TSourceLexer;
class TSynHighLighterIDE;

// The print engine: prints a document's text (with its listing in front of
// each line in Simulate and Errors modes) in the family the editor shows, 11
// pixels high, in the light theme's colours whatever the screen shows, with
// the title at the top and the page number at the bottom of every page. Margins in millimetres:
// left 25, right 15, top 25, bottom 25; header and footer 15 from the paper's edge.
class TPrintEngine {
public:
    TPrintEngine();
    ~TPrintEngine();

    QsciPrinter& Printer();
    // Takes the text to print; listing may be empty. editorFont is the font
    // of the editor that shows the text.
    void SetSource(const std::vector<std::string>& utf8Lines, const QStringList& listing,
                   TSynHighLighterIDE* scanner, const QString& title, const QFont& editorFont);
    void Clear();
    bool HasSource() const;
    // The font the text is printed in.
    const QFont& TextFont() const { return font_; }
    // The number of pages the text fills on the printer's paper.
    int PageCount();
    // Prints the printer's page range (all pages when none is set) on printer,
    // which is Printer() or a preview of it.
    void PrintOn(QPrinter& printer);

    // Each printed line of a listing: its entry padded and cut to 14
    // characters, then the source line.
    static std::string ListingLine(const QString& entry, const std::string& line);

private:
    class TPagePrinter;
    std::unique_ptr<TPagePrinter> printer_;
    std::unique_ptr<TSourceEditor> source_;
    TSourceLexer* highlighter_ = nullptr;
    QString title_;
    QFont font_;
};

} // namespace korvo
