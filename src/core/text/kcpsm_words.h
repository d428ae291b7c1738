#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// Removes leading and trailing blanks and control characters.
std::string_view TrimKcpsmLine(std::string_view line);

// Splits a trimmed KCPSM line into words. Tab, blank and "," separate words;
// a ";" takes the rest of the line as one last word, also where it is glued
// to the end of a word ("RETURN;" is "RETURN" and ";"). A separator at the
// very end of the line gives one final empty word. With quoted (KCPSM6), text
// between double quotes belongs to its word, separators and ";" included.
std::vector<std::string> SplitKcpsmWords(std::string_view line, bool quoted = false);

bool IsKcpsmComment(std::string_view word);

// One line split for conversion: a leading label ("name:", with anything
// glued after the colon, blanks allowed before it) or a comment that fills the whole line goes into
// Lead, the statement's words into Words (a comment last).
struct TKcpsmStatement {
    std::string Lead;
    std::vector<std::string> Words;

    bool HasLabel() const { return Lead.find(':') != std::string::npos && !IsKcpsmComment(Lead); }
    // The label's name: the lead up to its first colon.
    std::string_view LabelName() const { return std::string_view(Lead).substr(0, Lead.find(':')); }
    // The number of words before a trailing comment.
    std::size_t OperandEnd() const {
        return !Words.empty() && IsKcpsmComment(Words.back()) ? Words.size() - 1 : Words.size();
    }
};

TKcpsmStatement SplitKcpsmStatement(std::string_view line, bool quoted = false);

} // namespace korvo
