#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvo::cli {

// One option of a command. The parser, the usage synopsis and the help
// lines all come from the command's rows, in their order.
struct TOptionRow {
    std::string Name; // "--max-instructions", "-i"
    // What the option takes, as the help names it ("N", "FILE|-"); empty for
    // a switch.
    std::string Value = {};
    // The help text after the option and its value; its further lines start
    // at the command's help column, and one that starts with "\n" begins on
    // the line under the option. Empty: the help leaves the option out.
    std::string Help = {};
    bool Repeatable = false; // "[--in PORT=VALUE]..."
    // The option's whole help line, where that layout cannot give it.
    std::string HelpLine = {};
    // What the synopsis shows instead of "[NAME VALUE]" (the choices of the
    // value, a group of options), or "" to leave the option out.
    std::optional<std::string> Synopsis = std::nullopt;
    // The command takes the option and its words out of the arguments itself
    // (it takes more than one word).
    bool TakenApart = false;
};

using TOptionTable = std::vector<TOptionRow>;

// The row of the option name, or nothing.
const TOptionRow* FindOption(const TOptionTable& options, std::string_view name);

// The options of a usage synopsis: "[--core I|II|3|CR] [--settings FILE] ...".
std::string OptionsSynopsis(const TOptionTable& options);

// The "options:" part of a command's help: a line per option (its text from
// the given column on), then -h, --help.
std::string OptionsHelp(const TOptionTable& options, std::size_t column);

// --core with the cores' command names as its value.
TOptionRow CoreOption(std::string help);
// --program-size SIZE, the synopsis giving the sizes.
TOptionRow ProgramSizeOption(std::string help);

} // namespace korvo::cli
