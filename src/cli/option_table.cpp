#include "cli/option_table.h"

#include "cli/arguments.h"
#include "common/core_kind.h"

#include <algorithm>

namespace korvo::cli {

namespace {

std::string NameAndValue(const TOptionRow& option) {
    return option.Value.empty() ? option.Name : option.Name + " " + option.Value;
}

// "  --name VALUE", padded to the column (two spaces at least),
// then the text; its further lines indented to the column.
std::string HelpLines(const std::string& head, std::string_view text, std::size_t column) {
    std::string lines = head;
    std::size_t start = 0;
    for (bool first = true; start <= text.size(); first = false) {
        std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (first && !line.empty())
            lines.append(head.size() + 2 > column ? 2 : column - head.size(), ' ');
        else if (!first)
            lines.append("\n").append(column, ' ');
        lines.append(line);
        start = end + 1;
    }
    return lines + "\n";
}

} // namespace

const TOptionRow* FindOption(const TOptionTable& options, std::string_view name) {
    auto found = std::find_if(options.begin(), options.end(),
                              [name](const TOptionRow& option) { return option.Name == name; });
    return found == options.end() ? nullptr : &*found;
}

std::string OptionsSynopsis(const TOptionTable& options) {
    std::string text;
    for (const auto& option : options) {
        std::string word = option.Synopsis ? *option.Synopsis : "[" + NameAndValue(option) + "]";
        if (word.empty()) continue;
        if (option.Repeatable) word += "...";
        text.append(text.empty() ? "" : " ").append(word);
    }
    return text;
}

std::string OptionsHelp(const TOptionTable& options, std::size_t column) {
    std::string text = "options:\n";
    for (const auto& option : options) {
        if (!option.HelpLine.empty())
            text += option.HelpLine + "\n";
        else if (!option.Help.empty())
            text += HelpLines("  " + NameAndValue(option), option.Help, column);
    }
    return text + HelpLines("  -h, --help", "shows this text", column);
}

TOptionRow CoreOption(std::string help) {
    return {"--core", CoreCommandNames("|", "|"), std::move(help)};
}

TOptionRow ProgramSizeOption(std::string help) {
    return {.Name = "--program-size",
            .Value = "SIZE",
            .Help = std::move(help),
            .Synopsis = "[--program-size " + ProgramSizesText("|", "|") + "]"};
}

} // namespace korvo::cli
