#pragma once

#include "assembler/lexer.h"

#include <QColor>
#include <QFont>
#include <Qsci/qscilexercustom.h>

namespace korvo {

// Paints source text with the shared line scanner: each token gets the style
// of its display attribute. Style 0 is the plain text style; style n + 1
// paints attribute n of the scanner. The scanner is not owned; many editors
// share one, and each editor has its own object of this class (the editor
// component binds a lexer to one editor).
class TSourceLexer : public QsciLexerCustom {
    Q_OBJECT
public:
    explicit TSourceLexer(TSynHighLighterIDE& scanner, QObject* parent = nullptr);

    static constexpr int kPlainStyle = 0;
    static constexpr int kStrikeOutIndicator = 8;
    static int StyleOfAttribute(TAttributeIndex attribute) {
        return attribute == atNone ? kPlainStyle : attribute + 1;
    }

    const char* language() const override;
    QString description(int style) const override;
    void styleText(int start, int end) override;
    void setEditor(QsciScintilla* editor) override;

    // Takes the scanner's attributes (colours and styles) on the given base
    // font and repaints the editor.
    void ApplyAttributes(const QFont& baseFont);
    void ApplyAttributes() { ApplyAttributes(baseFont_); }
    const QFont& BaseFont() const { return baseFont_; }

    TSynHighLighterIDE& Scanner() const { return scanner_; }

    // Paints with the light colours whatever the theme, as paper needs.
    void KeepLightColours();

private:
    void StyleLine(int lineStart, const std::string& bytes, int lineNumber);
    void MarkStrikeOut(int from, int to, bool on);

    TSynHighLighterIDE& scanner_;
    QFont baseFont_;
    bool lightOnly_ = false;
};

// An attribute colour (0x00BBGGRR) as a Qt colour; clNone gives an invalid colour.
QColor ColorFromTColor(TColor color);
TColor TColorFromColor(const QColor& color);

// The font an attribute paints with: the base font with its style bits.
QFont FontWithStyle(const QFont& base, std::uint8_t style);

} // namespace korvo
