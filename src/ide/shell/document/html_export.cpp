#include "shell/document/html_export.h"

#include "assembler/lexer.h"
#include "shell/document/lexer.h"

#include <cstdio>

namespace korvo {

namespace {

std::string CssColor(TColor color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", color & 0xFF, (color >> 8) & 0xFF,
                  (color >> 16) & 0xFF);
    return text;
}

// The style class of an attribute: "a" and its index.
std::string ClassOf(int attribute) {
    return "a" + std::to_string(attribute);
}

std::string StyleRules(const std::vector<TSynHighlighterAttribute>& attributes) {
    std::string rules;
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        const auto& attribute = attributes[i];
        std::string rule;
        if (attribute.Foreground != clNone)
            rule += "color: " + CssColor(attribute.Foreground) + "; ";
        if (attribute.Background != clNone)
            rule += "background-color: " + CssColor(attribute.Background) + "; ";
        if (attribute.Style & fsBold) rule += "font-weight: bold; ";
        if (attribute.Style & fsItalic) rule += "font-style: italic; ";
        std::string decoration;
        if (attribute.Style & fsUnderline) decoration += " underline";
        if (attribute.Style & fsStrikeOut) decoration += " line-through";
        if (!decoration.empty()) rule += "text-decoration:" + decoration + "; ";
        rules += "  ." + ClassOf(static_cast<int>(i)) + " { " + rule + "} /* " +
                 EscapeHtml(attribute.Name) + " */\n";
    }
    return rules;
}

} // namespace

std::string EscapeHtml(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        case '\0': escaped += "&#xFFFD;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string ExportHtmlText(const std::vector<std::string>& lines, TSynHighLighterIDE* scanner,
                           const QFont& font, const QString& title) {
    std::string family = EscapeHtml(font.family().toStdString());
    int size = font.pixelSize() > 0 ? font.pixelSize()
                                    : static_cast<int>(font.pointSizeF() * 96.0 / 72.0 + 0.5);
    std::string html;
    html += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
    html += EscapeHtml(title.toStdString());
    html += "</title>\n<style>\n  pre { font-family: \"" + family +
            "\", monospace; font-size: " + std::to_string(size) +
            "px; color: #000000; background-color: #ffffff; }\n";
    if (scanner) html += StyleRules(scanner->Attributes());
    html += "</style>\n</head>\n<body>\n<pre>";
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string& line = lines[index];
        if (!scanner) {
            html += EscapeHtml(line);
        } else {
            std::size_t written = 0;
            scanner->SetLine(line, static_cast<int>(index) + 1);
            while (!scanner->GetEol()) {
                auto token = scanner->GetToken();
                TAttributeIndex attribute = scanner->GetTokenAttributeIndex();
                bool plainSpace = scanner->GetTokenKind() == tkSpace &&
                                  scanner->Attributes()[atSpace].Background == clNone;
                if (attribute == atNone || plainSpace)
                    html += EscapeHtml(token);
                else
                    html += "<span class=\"" + ClassOf(attribute) + "\">" + EscapeHtml(token) +
                            "</span>";
                written += token.size();
                scanner->Next();
            }
            // A NUL byte ends the scanner's line; the rest is written plain.
            if (written < line.size()) html += EscapeHtml(std::string_view(line).substr(written));
        }
        html += '\n';
    }
    html += "</pre>\n</body>\n</html>\n";
    return html;
}

} // namespace korvo
