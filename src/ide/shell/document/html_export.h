#pragma once

#include <QFont>
#include <QString>
#include <string>
#include <vector>

namespace korvo {

class TSynHighLighterIDE;

// A whole text as an HTML page: one <pre> block in the given font, each
// token in a span with the colours and style of its highlighter attribute
// (plain text without a highlighter). Lines are UTF-8; the page is UTF-8 and
// every character that means something to HTML is escaped.
std::string ExportHtmlText(const std::vector<std::string>& lines, TSynHighLighterIDE* scanner,
                           const QFont& font, const QString& title);

// Text with &, <, >, " and ' written as entities.
std::string EscapeHtml(std::string_view text);

} // namespace korvo
