#include "shell/app/log_pane.h"

#include "base/fonts.h"
#include "base/theme.h"

#include <QMouseEvent>
#include <QScrollBar>

namespace korvo {

namespace {
using Sci = QsciScintillaBase;

struct TLineColour {
    TLogSeverity Severity;
    QColor Background;
};

// One marker per coloured kind, in this order.
const TLineColour kLineColours[] = {
    {TLogSeverity::Warning, QColor(0xFF, 0xB3, 0x47)},
    {TLogSeverity::Note, QColor(0xFF, 0xE9, 0xC2)},
    {TLogSeverity::SourceError, QColor(0xFF, 0xFF, 0x00)},
    {TLogSeverity::Failure, QColor(0x00, 0xFF, 0xFF)},
    {TLogSeverity::Progress, QColor(0xC0, 0xC0, 0xC0)},
    {TLogSeverity::Error, QColor(0xFF, 0x00, 0x00)},
};
constexpr int kColourCount = static_cast<int>(std::size(kLineColours));
// The text style of a coloured line: black, as on every background above.
constexpr int kColouredLineStyle = 1;
} // namespace

TLogPane::TLogPane(QWidget* parent) : QsciScintilla(parent) {
    setObjectName(QStringLiteral("SynEditLog"));
    setUtf8(true);
    setEolMode(EolUnix);
    setReadOnly(true);
    setFont(FixedFont(12));
    for (int margin = 0; margin < 5; ++margin)
        setMarginWidth(margin, 0);
    setEdgeMode(EdgeNone);
    setCaretLineVisible(false);
    SendScintilla(SCI_SETSELEOLFILLED, 1L);
    setWrapMode(WrapNone);
    SendScintilla(SCI_SETSCROLLWIDTH, 1L);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1L);
    for (int marker = 0; marker < kColourCount; ++marker) {
        markerDefine(Background, marker);
        setMarkerBackgroundColor(kLineColours[marker].Background, marker);
    }
    connect(this, &QsciScintilla::selectionChanged, this, &TLogPane::ExtendSelectionToLines);
    connect(&ThemeNotifier(), &TThemeNotifier::Changed, this, &TLogPane::ApplyThemeColours);
    ApplyThemeColours();
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { followNewest_ = value >= verticalScrollBar()->maximum(); });
}

void TLogPane::ApplyThemeColours() {
    const TTheme& theme = CurrentTheme();
    setPaper(theme.Paper);
    setColor(theme.Text);
    setCaretForegroundColor(theme.Caret);
    SendScintilla(SCI_STYLESETFORE, kColouredLineStyle, QColor(Qt::black));
    SendScintilla(SCI_STYLESETBACK, kColouredLineStyle, theme.Paper);
    SendScintilla(SCI_STYLESETFONT, kColouredLineStyle, font().family().toUtf8().constData());
    SendScintilla(
        SCI_STYLESETSIZEFRACTIONAL, kColouredLineStyle,
        static_cast<long>(font().pointSizeF() * static_cast<int>(SC_FONT_SIZE_MULTIPLIER)));
}

void TLogPane::ExtendSelectionToLines() {
    if (extendingSelection_ || !hasSelectedText()) return;
    int lineFrom = 0, indexFrom = 0, lineTo = 0, indexTo = 0;
    getSelection(&lineFrom, &indexFrom, &lineTo, &indexTo);
    // A selection that ends at the start of a line ends after the line before.
    int lastSelected = indexTo == 0 && lineTo > lineFrom ? lineTo - 1 : lineTo;
    bool beforeLastLine = lastSelected < lines() - 1;
    int endLine = beforeLastLine ? lastSelected + 1 : lastSelected;
    int endIndex = beforeLastLine ? 0 : static_cast<int>(text(lastSelected).size());
    if (indexFrom == 0 && lineTo == endLine && indexTo == endIndex) return;
    extendingSelection_ = true;
    setSelection(lineFrom, 0, endLine, endIndex);
    extendingSelection_ = false;
}

QString TLogPane::Clean(const std::string& text) {
    QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    // One line per entry: line breaks inside a message become blanks.
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace('\r', ' ');
    line.replace('\n', ' ');
    QString expanded;
    expanded.reserve(line.size());
    for (QChar c : line) {
        if (c == '\t') {
            do
                expanded += ' ';
            while (expanded.size() % 4 != 0);
        } else {
            expanded += c;
        }
    }
    while (!expanded.isEmpty() && expanded.back() == ' ')
        expanded.chop(1);
    return expanded;
}

void TLogPane::AddLine(TLogSeverity severity, const std::string& text) {
    pending_.push_back({severity, Clean(text)});
    if (pending_.size() > static_cast<std::size_t>(kMaxLines)) pending_.pop_front();
    if (updateDepth_ == 0) {
        AppendLines(pending_);
        pending_.clear();
    }
}

void TLogPane::BeginUpdate() {
    ++updateDepth_;
}

void TLogPane::EndUpdate() {
    if (updateDepth_ > 0) --updateDepth_;
    if (updateDepth_ == 0 && !pending_.empty()) {
        AppendLines(pending_);
        pending_.clear();
    }
}

void TLogPane::AppendLines(const std::deque<TPendingLine>& newLines) {
    setReadOnly(false);
    for (const auto& [severity, line] : newLines) {
        while (lineCount_ >= kMaxLines) {
            // The editor would merge the deleted line's colour into the next one.
            markerDelete(0);
            long secondLine = SendScintilla(SCI_POSITIONFROMLINE, 1L);
            SendScintilla(SCI_DELETERANGE, 0L, secondLine);
            --lineCount_;
        }
        QByteArray bytes = line.toUtf8();
        if (lineCount_ > 0) bytes.prepend('\n');
        SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(bytes.size()), bytes.constData());
        int lineIndex = lineCount_++;
        for (int marker = 0; marker < kColourCount; ++marker)
            if (kLineColours[marker].Severity == severity) {
                markerAdd(lineIndex, marker);
                long start = SendScintilla(SCI_POSITIONFROMLINE, lineIndex);
                SendScintilla(SCI_STARTSTYLING, start);
                SendScintilla(SCI_SETSTYLING,
                              SendScintilla(SCI_GETLINEENDPOSITION, lineIndex) - start,
                              kColouredLineStyle);
                break;
            }
    }
    setReadOnly(true);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    setCursorPosition(std::max(0, lineCount_ - 1), 0);
    ShowNewestLines();
    viewport()->update();
}

void TLogPane::ShowNewestLines() {
    long shown = std::max(1L, SendScintilla(SCI_LINESONSCREEN));
    SendScintilla(SCI_SETFIRSTVISIBLELINE, std::max(0L, static_cast<long>(lineCount_) - shown));
    followNewest_ = true;
}

void TLogPane::resizeEvent(QResizeEvent* event) {
    bool follow = followNewest_;
    QsciScintilla::resizeEvent(event);
    // A pane squeezed by the panels of a simulation, or by its own
    // horizontal scroll bar, still shows the newest lines.
    if (follow) ShowNewestLines();
}

int TLogPane::LineCount() const {
    return lineCount_;
}

QString TLogPane::LineText(int line) const {
    if (line < 0 || line >= lineCount_) return {};
    QString value = text(line);
    while (value.endsWith('\n') || value.endsWith('\r'))
        value.chop(1);
    return value;
}

QColor TLogPane::LineBackground(int line) const {
    unsigned markers = line >= 0 && line < lineCount_ ? markersAtLine(line) : 0;
    for (int marker = 0; marker < kColourCount; ++marker)
        if (markers & (1u << marker)) return kLineColours[marker].Background;
    return {};
}

QColor TLogPane::BackgroundOf(TLogSeverity severity) {
    for (const auto& colour : kLineColours)
        if (colour.Severity == severity) return colour.Background;
    return {};
}

QColor TLogPane::BackgroundOf(const QString& text) {
    return BackgroundOf(LogSeverityOf(text.toStdString()));
}

int TLogPane::SourceLineOf(const QString& text) {
    if (!text.toLower().startsWith(QLatin1String("line "))) return 0;
    QString digits;
    for (int i = 5; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        digits += text[i];
    bool ok = false;
    int line = digits.toInt(&ok);
    return ok && line > 0 ? line : 1;
}

void TLogPane::mousePressEvent(QMouseEvent* event) {
    pressedLine_ = lineAt(event->position().toPoint());
    QsciScintilla::mousePressEvent(event);
}

void TLogPane::mouseDoubleClickEvent(QMouseEvent* event) {
    // The first click may have scrolled a partly shown line into view: the
    // line it went down on is the one meant.
    int line = pressedLine_ >= 0 ? pressedLine_ : lineAt(event->position().toPoint());
    QsciScintilla::mouseDoubleClickEvent(event);
    if (int sourceLine = SourceLineOf(LineText(line)); sourceLine > 0)
        emit SourceLineRequested(sourceLine);
}

} // namespace korvo
