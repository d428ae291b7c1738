#include "shell/document/source_editor.h"
#include "shell/document/source_editor_markers.h"

#include "base/fonts.h"
#include "base/theme.h"
#include "shell/app/icons.h"

#include <QApplication>

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <QWheelEvent>
#include <Qsci/qscilexer.h>
#include <Qsci/qscistyle.h>
#include <Qsci/qscistyledtext.h>

namespace korvo {

using namespace source_editor;

namespace {
using Sci = QsciScintillaBase;

// How long the mouse rests before a hint shows, in milliseconds.
constexpr int kHoverDelay = 500;
const QColor kErrorLine(0xFF, 0xFF, 0x00);
const QColor kCovered(0xA5, 0xD6, 0xA7), kMissed(0xEF, 0x9A, 0x9A);
// The heat column, cold to hot: dark and light enough in the middle to
// stand out from a light and from a dark gutter.
const QColor kHeatColours[TSourceEditor::kHeatLevels] = {
    QColor(0x45, 0x75, 0xB4), QColor(0x74, 0xAD, 0xD1), QColor(0xFE, 0xC4, 0x4F),
    QColor(0xF4, 0x6D, 0x43), QColor(0xD7, 0x30, 0x27)};
const QColor kLineBackgrounds[kColourKinds] = {QColor(0x00, 0x00, 0xFF), QColor(0xFF, 0x00, 0x00),
                                               QColor(0x80, 0x80, 0x80)};
} // namespace

TSourceEditor::TSourceEditor(QWidget* parent) : QsciScintilla(parent) {
    bookmarkHandles_.fill(-1);
    setUtf8(true);
    setEolMode(EolWindows);
    setTabWidth(4);
    setIndentationsUseTabs(true);
    setAutoIndent(true);
    setTabIndents(true);
    setBackspaceUnindents(true);
    // Small enough for the simulation panels beside and below it in the
    // smallest window.
    setMinimumSize(200, 100);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setWrapMode(WrapNone);
    SendScintilla(SCI_SETPASTECONVERTENDINGS, 1L);
    SendScintilla(SCI_SETSCROLLWIDTH, 1L);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1L);

    font_ = FixedFont(12);
    setFont(font_);

    setMarginType(kNumberMargin, NumberMargin);
    setMarginType(kListingMargin, TextMargin);
    setMarginType(kGlyphMargin, SymbolMargin);
    setMarginType(kBookmarkMargin, SymbolMargin);
    setMarginMarkerMask(kNumberMargin, 1 << kCoveredMarker | 1 << kMissedMarker);
    setMarginMarkerMask(kListingMargin, 0);
    int glyphMask = 0;
    for (int marker = kFirstGlyphMarker; marker < kFirstGlyphMarker + kGlyphKinds; ++marker)
        glyphMask |= 1 << marker;
    setMarginMarkerMask(kGlyphMargin, glyphMask);
    setMarginMarkerMask(kBookmarkMargin, (1 << kBookmarkCount) - 1);
    setMarginType(kHeatMargin, SymbolMargin);
    int heatMask = 0;
    for (int level = 0; level < kHeatLevels; ++level) {
        heatMask |= 1 << kHeatMarkers[level];
        markerDefine(FullRectangle, kHeatMarkers[level]);
        setMarkerBackgroundColor(kHeatColours[level], kHeatMarkers[level]);
    }
    setMarginMarkerMask(kHeatMargin, heatMask);
    setMarginWidth(kHeatMargin, 0);
    // A click anywhere in the gutter of Simulate mode toggles a breakpoint;
    // the line numbers of Edit mode keep selecting lines.
    for (int margin : {kListingMargin, kGlyphMargin, kBookmarkMargin})
        setMarginSensitivity(margin, true);
    setMarginWidth(kGlyphMargin, 18);
    setMarginWidth(kBookmarkMargin, 16);

    for (int number = 0; number < kBookmarkCount; ++number)
        markerDefine(BookmarkGlyph(number), number);
    for (int glyph = 0; glyph < kGlyphKinds; ++glyph)
        markerDefine(LineGlyph(static_cast<TLineGlyph>(glyph)), kFirstGlyphMarker + glyph);
    for (int colour = 0; colour < kColourKinds; ++colour) {
        markerDefine(Background, kFirstColourMarker + colour);
        setMarkerBackgroundColor(kLineBackgrounds[colour], kFirstColourMarker + colour);
    }
    for (auto [marker, colour] : {std::pair(kCoveredMarker, kCovered), {kMissedMarker, kMissed}}) {
        markerDefine(FullRectangle, marker);
        setMarkerBackgroundColor(colour, marker);
    }
    SendScintilla(SCI_INDICSETSTYLE, kLineTextIndicator, INDIC_TEXTFORE);
    SendScintilla(SCI_INDICSETFORE, kLineTextIndicator, QColor(Qt::white));
    SendScintilla(SCI_INDICSETSTYLE, kErrorIndicator, INDIC_SQUIGGLE);
    SendScintilla(SCI_INDICSETFORE, kErrorIndicator, QColor(0xE0, 0x10, 0x10));
    SendScintilla(SCI_INDICSETSTYLE, kWarningIndicator, INDIC_SQUIGGLE);
    SendScintilla(SCI_INDICSETFORE, kWarningIndicator, QColor(0xF0, 0x90, 0x00));
    SendScintilla(SCI_INDICSETSTYLE, kNoteIndicator, INDIC_DOTS);
    SendScintilla(SCI_INDICSETFORE, kNoteIndicator, QColor(0x90, 0x90, 0x90));
    setAnnotationDisplay(AnnotationBoxed);
    SendScintilla(SCI_SETMOUSEDWELLTIME, kHoverDelay);

    const TTheme& theme = CurrentTheme();
    listingStyle_ = std::make_unique<QsciStyle>(-1, QStringLiteral("Listing"), theme.GutterText,
                                                theme.GutterBack, font_);
    listingErrorStyle_ = std::make_unique<QsciStyle>(-1, QStringLiteral("Listing error"),
                                                     QColor(Qt::black), kErrorLine, font_);
    errorStyle_ = std::make_unique<QsciStyle>(-1, QStringLiteral("Error"), theme.ErrorText,
                                              theme.ErrorBack, font_);
    warningStyle_ = std::make_unique<QsciStyle>(-1, QStringLiteral("Warning"), theme.WarningText,
                                                theme.WarningBack, font_);
    noteStyle_ = std::make_unique<QsciStyle>(-1, QStringLiteral("Note"), theme.NoteText,
                                             theme.NoteBack, font_);

    connect(this, &QsciScintilla::linesChanged, this, &TSourceEditor::UpdateNumberMarginWidth);
    connect(this, &QsciScintillaBase::SCN_ZOOM, this, [this] {
        numberMarginDigits_ = 0;
        UpdateMargins();
    });
    connect(this, &QsciScintillaBase::SCN_DWELLSTART, this, [this](int position, int x, int y) {
        if (ShowHeatTip(QPoint(x, y))) return;
        if (position >= 0) emit HoverRequested(position, viewport()->mapToGlobal(QPoint(x, y)));
    });
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int modification, const char*, int length, int linesAdded, int,
                   int, int, int,
                   int) { ClearEditedErrorMarks(position, modification, length, linesAdded); });
    connect(&ThemeNotifier(), &TThemeNotifier::Changed, this, &TSourceEditor::ApplyThemeColours);
    ApplyThemeColours();
    UpdateMargins();
}

void TSourceEditor::KeepLightColours() {
    lightOnly_ = true;
    ApplyThemeColours();
}

void TSourceEditor::ApplyThemeColours() {
    const TTheme& theme = lightOnly_ ? LightTheme() : CurrentTheme();
    if (!lexer()) {
        setPaper(theme.Paper);
        setColor(theme.Text);
    }
    setCaretForegroundColor(theme.Caret);
    QPalette palette = QApplication::palette();
    setSelectionBackgroundColor(palette.color(QPalette::Highlight));
    setSelectionForegroundColor(palette.color(QPalette::HighlightedText));
    setMarginsForegroundColor(theme.GutterText);
    setMarginsBackgroundColor(theme.GutterBack);
    setFoldMarginColors(theme.GutterBack, theme.GutterBack);
    setEdgeColor(theme.Edge);
    listingStyle_->setColor(theme.GutterText);
    listingStyle_->setPaper(theme.GutterBack);
    errorStyle_->setColor(theme.ErrorText);
    errorStyle_->setPaper(theme.ErrorBack);
    warningStyle_->setColor(theme.WarningText);
    warningStyle_->setPaper(theme.WarningBack);
    noteStyle_->setColor(theme.NoteText);
    noteStyle_->setPaper(theme.NoteBack);
    // Annotations keep the colours they were set with.
    for (const auto& marked : checkMarks_)
        ShowCheckMarks(marked.first);
    if (!listing_.isEmpty()) SetListing(QStringList(listing_));
}

TSourceEditor::~TSourceEditor() = default;

std::string TSourceEditor::Bytes() const {
    auto* self = const_cast<TSourceEditor*>(this);
    long length = self->SendScintilla(SCI_GETLENGTH);
    const char* text = reinterpret_cast<const char*>(self->SendScintilla(SCI_GETCHARACTERPOINTER));
    return text ? std::string(text, static_cast<std::size_t>(length)) : std::string();
}

void TSourceEditor::SetBytes(std::string_view utf8) {
    bool readOnly = isReadOnly();
    setReadOnly(false);
    SendScintilla(SCI_CLEARALL);
    SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(utf8.size()), utf8.data());
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETSAVEPOINT);
    SendScintilla(SCI_GOTOPOS, 0L);
    setReadOnly(readOnly);
}

bool TSourceEditor::IsEmptyText() const {
    // Asked by several commands at every idle moment: look at the text in
    // place, which normally ends at its first character.
    auto* self = const_cast<TSourceEditor*>(this);
    long length = self->SendScintilla(SCI_GETLENGTH);
    if (length == 0) return true;
    const char* text = reinterpret_cast<const char*>(self->SendScintilla(SCI_GETCHARACTERPOINTER));
    for (long i = 0; i < length; ++i)
        if (text[i] != '\r' && text[i] != '\n') return false;
    return true;
}

int TSourceEditor::LineCount() const {
    return lines();
}

std::string TSourceEditor::LineBytes(int line) const {
    auto* self = const_cast<TSourceEditor*>(this);
    if (line < 0 || line >= lines()) return {};
    long start = self->SendScintilla(SCI_POSITIONFROMLINE, line);
    long end = self->SendScintilla(SCI_GETLINEENDPOSITION, line);
    if (end <= start) return {};
    const char* text =
        reinterpret_cast<const char*>(self->SendScintilla(SCI_GETRANGEPOINTER, start, end - start));
    return text ? std::string(text, static_cast<std::size_t>(end - start)) : std::string();
}

void TSourceEditor::ReplaceLines(const std::vector<std::string>& newLines) {
    SendScintilla(SCI_BEGINUNDOACTION);
    auto replace = [this](long start, long end, const std::string& bytes) {
        SendScintilla(SCI_SETTARGETSTART, start);
        SendScintilla(SCI_SETTARGETEND, end);
        SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()), bytes.data());
    };
    // The empty line after a last line break is no line of the text.
    int oldCount = lines();
    if (oldCount > 0 && LineBytes(oldCount - 1).empty()) --oldCount;
    int newCount = static_cast<int>(newLines.size());
    for (int line = 0; line < std::min(newCount, oldCount); ++line) {
        if (LineBytes(line) == newLines[line]) continue;
        replace(SendScintilla(SCI_POSITIONFROMLINE, line),
                SendScintilla(SCI_GETLINEENDPOSITION, line), newLines[line]);
    }
    if (newCount > oldCount) {
        // More lines than before: they follow the last line.
        std::string added;
        for (int line = oldCount; line < newCount; ++line)
            added += (line > 0 ? "\r\n" : "") + newLines[line];
        long end = oldCount > 0 ? SendScintilla(SCI_GETLINEENDPOSITION, oldCount - 1) : 0;
        replace(end, end, added);
    } else if (newCount < oldCount) {
        long from = newCount > 0 ? SendScintilla(SCI_GETLINEENDPOSITION, newCount - 1) : 0;
        long to = newCount > 0 ? SendScintilla(SCI_GETLINEENDPOSITION, oldCount - 1)
                               : SendScintilla(SCI_GETLENGTH);
        replace(from, to, {});
    }
    SendScintilla(SCI_ENDUNDOACTION);
}

void TSourceEditor::SetEditorFont(const QFont& font) {
    font_ = font;
    setFont(font_);
    if (auto* highlighter = lexer()) highlighter->setDefaultFont(font_);
    setMarginsFont(font_);
    listingStyle_->setFont(font_);
    listingErrorStyle_->setFont(font_);
    errorStyle_->setFont(font_);
    UpdateMargins();
}

void TSourceEditor::SetRightEdge(int column) {
    setEdgeMode(EdgeLine);
    setEdgeColumn(column);
    setEdgeColor(CurrentTheme().Edge);
}

void TSourceEditor::ShowLineNumbers(bool show) {
    lineNumbers_ = show;
    UpdateMargins();
}

void TSourceEditor::SetListing(const QStringList& listing) {
    listing_ = listing;
    clearMarginText();
    // Padded to the column's width, so that an error's yellow fills it.
    qsizetype width = ListingWidth();
    int count = std::min(static_cast<int>(listing_.size()), lines());
    for (int line = 0; line < count; ++line) {
        const QString& entry = listing_[line];
        setMarginText(line, entry.leftJustified(width + 1, ' '),
                      entry.startsWith('?') ? *listingErrorStyle_ : *listingStyle_);
    }
    UpdateMargins();
}

void TSourceEditor::ClearListing() {
    listing_.clear();
    clearMarginText();
    UpdateMargins();
}

QString TSourceEditor::ListingText(int line) const {
    return line >= 0 && line < listing_.size() ? listing_[line] : QString();
}

void TSourceEditor::UpdateMargins() {
    setMarginsFont(font_);
    UpdateNumberMarginWidth();
    if (!lineNumbers_ && !listing_.isEmpty()) {
        setMarginWidth(kListingMargin, QString(ListingWidth(), QChar('0')));
    } else {
        setMarginWidth(kListingMargin, 0);
    }
}

qsizetype TSourceEditor::ListingWidth() const {
    qsizetype longest = 10;
    for (const auto& entry : listing_)
        longest = std::max(longest, entry.size());
    return longest + 1;
}

void TSourceEditor::UpdateNumberMarginWidth() {
    if (!lineNumbers_) {
        numberMarginDigits_ = 0;
        setMarginWidth(kNumberMargin, 0);
        return;
    }
    int digits = std::max(3, static_cast<int>(QString::number(lines()).size()));
    if (digits == numberMarginDigits_) return;
    numberMarginDigits_ = digits;
    setMarginWidth(kNumberMargin, QString(digits + 1, QChar('0')));
}

void TSourceEditor::ToggleBookmark(int number) {
    if (number < 0 || number >= kBookmarkCount) return;
    int line = 0;
    int index = 0;
    getCursorPosition(&line, &index);
    int existing = BookmarkLine(number);
    if (existing >= 0) markerDeleteHandle(bookmarkHandles_[number]);
    bookmarkHandles_[number] = -1;
    if (existing == line) return;
    bookmarkHandles_[number] = markerAdd(line, number);
    bookmarkColumns_[number] = index;
}

void TSourceEditor::GotoBookmark(int number) {
    int line = BookmarkLine(number);
    if (line < 0) return;
    int column = std::min(bookmarkColumns_[number], lineLength(line));
    setCursorPosition(line, std::max(0, column));
    ensureLineVisible(line);
}

int TSourceEditor::BookmarkLine(int number) const {
    if (number < 0 || number >= kBookmarkCount || bookmarkHandles_[number] < 0) return -1;
    return markerLine(bookmarkHandles_[number]);
}

void TSourceEditor::MoveCaret(int line, int column) {
    int target = std::clamp(line - 1, 0, std::max(0, lines() - 1));
    setCursorPosition(target, std::max(0, column - 1));
    ensureLineVisible(target);
}

int TSourceEditor::PositionAt(const QPoint& point) const {
    return static_cast<int>(const_cast<TSourceEditor*>(this)->SendScintilla(
        SCI_POSITIONFROMPOINTCLOSE, static_cast<unsigned long>(point.x()),
        static_cast<long>(point.y())));
}

int TSourceEditor::DigitOfKey(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return key - Qt::Key_0;
    // With Shift held the key reports the shifted character of the digit row.
    static const int kShifted[kBookmarkCount] = {
        Qt::Key_ParenRight, Qt::Key_Exclam,   Qt::Key_At,          Qt::Key_NumberSign,
        Qt::Key_Dollar,     Qt::Key_Percent,  Qt::Key_AsciiCircum, Qt::Key_Ampersand,
        Qt::Key_Asterisk,   Qt::Key_ParenLeft};
    for (int digit = 0; digit < kBookmarkCount; ++digit)
        if (kShifted[digit] == key) return digit;
    return -1;
}

void TSourceEditor::keyPressEvent(QKeyEvent* event) {
    // Ctrl+Shift+digit sets (or clears) a bookmark; Alt+digit goes to it.
    auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    int digit = DigitOfKey(event->key());
    if (digit >= 0 && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        ToggleBookmark(digit);
        event->accept();
        return;
    }
    if (digit >= 0 && modifiers == Qt::AltModifier) {
        GotoBookmark(digit);
        event->accept();
        return;
    }
    // Ctrl with plus, minus or 0 zooms the text, as Ctrl and the wheel do.
    if (modifiers == Qt::ControlModifier ||
        modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal: zoomIn(); return;
        case Qt::Key_Minus: zoomOut(); return;
        case Qt::Key_0:
            if (modifiers == Qt::ControlModifier) {
                zoomTo(0);
                return;
            }
            break;
        default: break;
        }
    }
    QsciScintilla::keyPressEvent(event);
}

void TSourceEditor::wheelEvent(QWheelEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->angleDelta().y() > 0)
            zoomIn();
        else if (event->angleDelta().y() < 0)
            zoomOut();
        event->accept();
        return;
    }
    QsciScintilla::wheelEvent(event);
}

void TSourceEditor::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && event->modifiers() == Qt::ControlModifier) {
        int position = PositionAt(event->position().toPoint());
        if (position >= 0) {
            event->accept();
            emit DefinitionRequested(position);
            return;
        }
    }
    QsciScintilla::mousePressEvent(event);
}

void TSourceEditor::focusInEvent(QFocusEvent* event) {
    QsciScintilla::focusInEvent(event);
    emit FocusReceived();
}

void TSourceEditor::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
        return;
    }
    QsciScintilla::dragEnterEvent(event);
}

void TSourceEditor::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
        return;
    }
    QsciScintilla::dragMoveEvent(event);
}

void TSourceEditor::dropEvent(QDropEvent* event) {
    if (event->mimeData()->hasUrls()) {
        QStringList files;
        for (const QUrl& url : event->mimeData()->urls())
            if (url.isLocalFile()) files << url.toLocalFile();
        event->acceptProposedAction();
        emit FilesDropped(files);
        return;
    }
    QsciScintilla::dropEvent(event);
}

void TSourceEditor::contextMenuEvent(QContextMenuEvent* event) {
    emit ContextMenuRequested(event->globalPos());
    event->accept();
}

} // namespace korvo
