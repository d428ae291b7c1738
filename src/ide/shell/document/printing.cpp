#include "shell/document/printing.h"

#include "base/fonts.h"

#include "shell/document/lexer.h"
#include "shell/document/source_editor.h"

#include <QFileInfo>
#include <QFontInfo>
#include <QPainter>
#include <QTemporaryDir>

namespace korvo {

namespace {
constexpr double kLeftMm = 25;
constexpr double kRightMm = 15;
constexpr double kTopMm = 25;
constexpr double kBottomMm = 25;
constexpr double kHeaderMm = 15;
constexpr double kFooterMm = 15;

int MmToPixels(double mm, int resolution) {
    return static_cast<int>(mm * resolution / 25.4);
}
} // namespace

// QsciPrinter with the page layout: margins, a header and a footer.
class TPrintEngine::TPagePrinter : public QsciPrinter {
public:
    TPagePrinter() : QsciPrinter(QPrinter::HighResolution) {
        setFullPage(true);
        setCopyCount(1);
        setMagnification(0);
    }

    QString Title;
    int PagesSeen = 0;

    void formatPage(QPainter& painter, bool drawing, QRect& area, int pageNumber) override {
        PagesSeen = std::max(PagesSeen, pageNumber);
        QPaintDevice* device = painter.device();
        int resolutionX = device ? device->logicalDpiX() : resolution();
        int resolutionY = device ? device->logicalDpiY() : resolution();
        QRect page = area;
        area.setLeft(page.left() + MmToPixels(kLeftMm, resolutionX));
        area.setRight(page.right() - MmToPixels(kRightMm, resolutionX));
        area.setTop(page.top() + MmToPixels(kTopMm, resolutionY));
        area.setBottom(page.bottom() - MmToPixels(kBottomMm, resolutionY));
        if (!drawing) return;
        QFont font(QStringLiteral("Arial"));
        font.setStyleHint(QFont::SansSerif);
        font.setPixelSize(std::max(1, 13 * resolutionY / 96));
        painter.save();
        painter.setFont(font);
        painter.setPen(Qt::black);
        int headerY = page.top() + MmToPixels(kHeaderMm, resolutionY);
        int footerY = page.bottom() - MmToPixels(kFooterMm, resolutionY);
        int indent = MmToPixels(2, resolutionX);
        QRect header(area.left() + indent, headerY - painter.fontMetrics().height(),
                     area.width() - 2 * indent, painter.fontMetrics().height());
        QRect footer(area.left() + indent, footerY, area.width() - 2 * indent,
                     painter.fontMetrics().height());
        painter.drawText(header, Qt::AlignLeft | Qt::AlignBottom, Title);
        painter.drawLine(area.left(), headerY + 2, area.right(), headerY + 2);
        painter.drawLine(area.left(), footerY - 2, area.right(), footerY - 2);
        painter.drawText(footer, Qt::AlignRight | Qt::AlignTop,
                         QStringLiteral("Page %1").arg(pageNumber));
        painter.restore();
    }
};

TPrintEngine::TPrintEngine() : printer_(std::make_unique<TPagePrinter>()) {}

TPrintEngine::~TPrintEngine() = default;

QsciPrinter& TPrintEngine::Printer() {
    return *printer_;
}

std::string TPrintEngine::ListingLine(const QString& entry, const std::string& line) {
    QString column = entry.left(14).leftJustified(14, ' ');
    return column.toStdString() + line;
}

void TPrintEngine::SetSource(const std::vector<std::string>& utf8Lines, const QStringList& listing,
                             TSynHighLighterIDE* scanner, const QString& title,
                             const QFont& editorFont) {
    Clear();
    title_ = title;
    printer_->Title = title;
    // The job takes the name without its folder: the print dialog builds its
    // proposed file name from it.
    printer_->setDocName(QFileInfo(title).fileName());
    // Printing to a file proposes a PDF beside the document.
    if (QFileInfo(title).isAbsolute() &&
        (printer_->printerName().isEmpty() || printer_->outputFormat() == QPrinter::PdfFormat))
        printer_->setOutputFileName(QFileInfo(title).absolutePath() + '/' +
                                    QFileInfo(title).completeBaseName() + QStringLiteral(".pdf"));
    source_ = std::make_unique<TSourceEditor>();
    source_->KeepLightColours();
    source_->ShowLineNumbers(false);
    source_->setMarginWidth(TSourceEditor::kGlyphMargin, 0);
    source_->setMarginWidth(TSourceEditor::kBookmarkMargin, 0);
    // The family the editor's font request resolved to, asked for by name:
    // another size or device must not let the font matching choose again.
    font_ = FixedFont(11);
    font_.setFamily(QFontInfo(editorFont).family());
    if (scanner) {
        highlighter_ = new TSourceLexer(*scanner, source_.get());
        highlighter_->KeepLightColours();
        highlighter_->ApplyAttributes(font_);
        source_->setLexer(highlighter_);
    }
    source_->SetEditorFont(font_);
    source_->setTabWidth(4);
    std::string text;
    for (std::size_t i = 0; i < utf8Lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += listing.isEmpty() ? utf8Lines[i]
                                  : ListingLine(listing.value(static_cast<int>(i)), utf8Lines[i]);
    }
    source_->SetBytes(text);
}

void TPrintEngine::Clear() {
    source_.reset();
    highlighter_ = nullptr;
}

bool TPrintEngine::HasSource() const {
    return source_ != nullptr;
}

int TPrintEngine::PageCount() {
    if (!source_) return 0;
    // Lay the text out once on a throw-away copy of the printer's paper.
    QTemporaryDir folder;
    TPagePrinter counter;
    counter.setPageLayout(printer_->pageLayout());
    counter.setOutputFormat(QPrinter::PdfFormat);
    counter.setOutputFileName(folder.filePath(QStringLiteral("count.pdf")));
    counter.printRange(source_.get());
    return std::max(1, counter.PagesSeen);
}

void TPrintEngine::PrintOn(QPrinter& printer) {
    if (!source_) return;
    if (&printer == printer_.get()) {
        printer_->printRange(source_.get());
        return;
    }
    // A preview paints onto its own printer object: lay out with ours.
    QPainter painter(&printer);
    printer_->printRange(source_.get(), painter);
}

} // namespace korvo
