#pragma once

#include "cli/option_table.h"
#include "common/core_kind.h"
#include "common/core_options.h"
#include "common/settings.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace korvo::cli {

// Exit statuses shared by every command.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1; // errors in the source
inline constexpr int kExitUsage = 2;   // a bad command line or an unreadable input
// Done, but an output failed: a file the source names, a block RAM init
// file, the SVF settings, the EXEC command, a log or stimulus file.
inline constexpr int kExitOutputFailed = 4;
// A fault of korvo itself that stopped a command: one line on standard error.
inline constexpr int kExitInternal = 70;

// A command's arguments after parsing: "--name value" options (repeatable),
// "--flag" switches and positional words. "--name=value" is accepted too.
struct TArguments {
    std::multimap<std::string, std::string> Options;
    std::set<std::string> Flags;
    std::vector<std::string> Positional;

    std::optional<std::string> Last(const std::string& option) const;
    std::vector<std::string> All(const std::string& option) const;
    bool Has(const std::string& flag) const { return Flags.count(flag) != 0; }
};

// Parses args by the command's options: one with a value takes the next
// word, a switch none. Anything else that begins with "-" (except "-"
// itself) is an error, reported in error as one line.
std::optional<TArguments> ParseArguments(const std::vector<std::string>& args,
                                         const TOptionTable& options, std::string& error);

// The file "--settings" names, when given, exists and is a file; else false
// and a one-line error.
bool CheckSettingsFile(const TArguments& arguments, std::string& error);

// A number as users write it on a command line: decimal, or hexadecimal
// after "$" or "0x".
std::optional<std::int32_t> ParseCommandLineNumber(const std::string& text);

// The program sizes "--program-size" takes, joined as CoreCommandNames joins
// the cores: ("|", "|") gives "1K|2K|4K".
std::string ProgramSizesText(std::string_view separator, std::string_view lastSeparator);

// The core of a run: the --core option when given (a core's command name or
// number), else the core the IDE remembers for the source file (the first
// positional word), else the stored "Options"/"Korvo" setting, the first core
// when none. An unknown --core value is an error.
std::optional<TCoreKind> ResolveCore(const TArguments& arguments, const ISettingsStore& settings,
                                     std::string& error);

// The build of the core of a run: the stored settings, changed by
// "--program-size" (1K, 2K, 4K), "--interrupt-vector" and "--hwbuild"
// (decimal, or hexadecimal after "$") where given. Refuses these options for
// a core without build options, and values the core cannot have.
std::optional<TCoreOptions> ResolveCoreOptions(const TArguments& arguments,
                                               const ISettingsStore& settings, TCoreKind kind,
                                               std::string& error);

} // namespace korvo::cli
