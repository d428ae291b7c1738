#include "common/log.h"

#include <algorithm>
#include <cctype>

namespace korvo {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

} // namespace

TLogSeverity LogSeverityOf(std::string_view text) {
    // "Line 12: warning: ..." is a finding of the checker, read from its kind on.
    if (StartsWithNoCase(text, "line ")) {
        std::size_t kind = 5;
        while (kind < text.size() && std::isdigit(static_cast<unsigned char>(text[kind])))
            ++kind;
        std::string_view rest = text.substr(kind);
        if (StartsWithNoCase(rest, ": warning:")) return TLogSeverity::Warning;
        if (StartsWithNoCase(rest, ": note:")) return TLogSeverity::Note;
        return TLogSeverity::SourceError;
    }
    if (StartsWithNoCase(text, "warning:")) return TLogSeverity::Warning;
    if (StartsWithNoCase(text, "note:")) return TLogSeverity::Note;
    if (StartsWithNoCase(text, "failure:")) return TLogSeverity::Failure;
    if (text.starts_with('!')) return TLogSeverity::Progress;
    if (text.starts_with('?')) return TLogSeverity::Error;
    return TLogSeverity::Plain;
}

} // namespace korvo
