#include "shell/document/lexer.h"

#include "base/fonts.h"
#include "base/theme.h"

#include <Qsci/qsciscintilla.h>

namespace korvo {

QColor ColorFromTColor(TColor color) {
    if (color == clNone) return {};
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TColor TColorFromColor(const QColor& color) {
    if (!color.isValid()) return clNone;
    return static_cast<TColor>(color.red()) | (static_cast<TColor>(color.green()) << 8) |
           (static_cast<TColor>(color.blue()) << 16);
}

QFont FontWithStyle(const QFont& base, std::uint8_t style) {
    QFont font = base;
    font.setBold(style & fsBold);
    font.setItalic(style & fsItalic);
    font.setUnderline(style & fsUnderline);
    font.setStrikeOut(style & fsStrikeOut);
    return font;
}

TSourceLexer::TSourceLexer(TSynHighLighterIDE& scanner, QObject* parent)
    : QsciLexerCustom(parent), scanner_(scanner), baseFont_(FixedFont(12)) {
    ApplyAttributes(baseFont_);
    connect(&ThemeNotifier(), &TThemeNotifier::Changed, this, [this] { ApplyAttributes(); });
}

const char* TSourceLexer::language() const {
    return "Korvo assembly language";
}

QString TSourceLexer::description(int style) const {
    if (style == kPlainStyle) return QStringLiteral("Default");
    const auto& attributes = scanner_.Attributes();
    if (style > 0 && style <= static_cast<int>(attributes.size()))
        return QString::fromStdString(attributes[style - 1].Name);
    return {};
}

void TSourceLexer::setEditor(QsciScintilla* editor) {
    QsciLexerCustom::setEditor(editor);
    if (!editor) return;
    editor->SendScintilla(QsciScintillaBase::SCI_INDICSETSTYLE, kStrikeOutIndicator,
                          QsciScintillaBase::INDIC_STRIKE);
    editor->SendScintilla(QsciScintillaBase::SCI_INDICSETUNDER, kStrikeOutIndicator, 0L);
}

void TSourceLexer::ApplyAttributes(const QFont& baseFont) {
    baseFont_ = baseFont;
    // The attributes' colours on the theme's paper, each kept readable there.
    const TTheme& theme = lightOnly_ ? LightTheme() : CurrentTheme();
    setDefaultFont(baseFont_);
    setDefaultColor(theme.Text);
    setDefaultPaper(theme.Paper);
    setFont(baseFont_, kPlainStyle);
    setColor(theme.Text, kPlainStyle);
    setPaper(theme.Paper, kPlainStyle);
    const auto& attributes = scanner_.Attributes();
    for (int i = 0; i < static_cast<int>(attributes.size()); ++i) {
        const auto& attribute = attributes[i];
        QColor foreground = ColorFromTColor(attribute.Foreground);
        QColor background = ColorFromTColor(attribute.Background);
        int style = i + 1;
        setFont(FontWithStyle(baseFont_, attribute.Style), style);
        QColor paper = background.isValid() ? background : theme.Paper;
        setColor(foreground.isValid() ? Readable(foreground, paper, theme) : theme.Text, style);
        setPaper(paper, style);
    }
    if (auto* target = editor()) {
        // Strike-out is not a font property the editor component paints, so it
        // is drawn with an indicator; restyle everything to place it.
        target->SendScintilla(QsciScintillaBase::SCI_INDICSETFORE, kStrikeOutIndicator, theme.Text);
        target->SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0L, -1L);
    }
}

void TSourceLexer::KeepLightColours() {
    lightOnly_ = true;
    ApplyAttributes();
}

void TSourceLexer::styleText(int start, int end) {
    auto* target = editor();
    if (!target || end <= start) return;
    long firstLine = target->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, start);
    long lastLine = target->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, end - 1);
    // Whole lines, line breaks included: the scanner works line by line.
    long from = target->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, firstLine);
    long to = target->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, lastLine + 1);
    if (to < 0) to = target->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    if (to <= from) return;
    const char* text = reinterpret_cast<const char*>(
        target->SendScintilla(QsciScintillaBase::SCI_GETRANGEPOINTER, from, to - from));
    if (!text) return;
    std::string_view range(text, static_cast<std::size_t>(to - from));
    MarkStrikeOut(static_cast<int>(from), static_cast<int>(to), false);
    startStyling(static_cast<int>(from));
    std::size_t lineStart = 0;
    long lineNumber = firstLine;
    while (lineStart < range.size()) {
        std::size_t lineEnd = range.find_first_of("\r\n", lineStart);
        if (lineEnd == std::string_view::npos) {
            lineEnd = range.size();
        } else {
            if (range[lineEnd] == '\r' && lineEnd + 1 < range.size() && range[lineEnd + 1] == '\n')
                ++lineEnd;
            ++lineEnd;
        }
        StyleLine(static_cast<int>(from + lineStart),
                  std::string(range.substr(lineStart, lineEnd - lineStart)),
                  static_cast<int>(lineNumber + 1));
        lineStart = lineEnd;
        ++lineNumber;
    }
}

void TSourceLexer::StyleLine(int lineStart, const std::string& bytes, int lineNumber) {
    const auto& attributes = scanner_.Attributes();
    std::size_t styled = 0;
    scanner_.SetLine(bytes, lineNumber);
    while (!scanner_.GetEol()) {
        auto token = scanner_.GetToken();
        TAttributeIndex attribute = scanner_.GetTokenAttributeIndex();
        setStyling(static_cast<int>(token.size()), StyleOfAttribute(attribute));
        if (attribute != atNone && (attributes[attribute].Style & fsStrikeOut))
            MarkStrikeOut(lineStart + scanner_.GetTokenPos(),
                          lineStart + scanner_.GetTokenPos() + static_cast<int>(token.size()),
                          true);
        styled += token.size();
        scanner_.Next();
    }
    // A NUL byte ends the scanner's line early; the rest stays plain.
    if (styled < bytes.size()) setStyling(static_cast<int>(bytes.size() - styled), kPlainStyle);
}

void TSourceLexer::MarkStrikeOut(int from, int to, bool on) {
    auto* target = editor();
    if (!target || to <= from) return;
    target->SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, kStrikeOutIndicator);
    if (on)
        target->SendScintilla(QsciScintillaBase::SCI_INDICATORFILLRANGE, from, to - from);
    else
        target->SendScintilla(QsciScintillaBase::SCI_INDICATORCLEARRANGE, from, to - from);
}

} // namespace korvo
