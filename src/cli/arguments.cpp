#include "cli/arguments.h"

#include "common/number_text.h"
#include "common/settings_layout.h"
#include "common/text_file.h"

namespace korvo::cli {

std::optional<std::string> TArguments::Last(const std::string& option) const {
    auto range = Options.equal_range(option);
    if (range.first == range.second) return std::nullopt;
    return std::prev(range.second)->second;
}

std::vector<std::string> TArguments::All(const std::string& option) const {
    std::vector<std::string> values;
    auto range = Options.equal_range(option);
    for (auto it = range.first; it != range.second; ++it)
        values.push_back(it->second);
    return values;
}

std::optional<TArguments> ParseArguments(const std::vector<std::string>& args,
                                         const TOptionTable& options, std::string& error) {
    TArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (optionsEnded || word == "-" || word.empty() || word[0] != '-') {
            parsed.Positional.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = word;
        std::optional<std::string> inlineValue;
        if (auto equals = word.find('='); equals != std::string::npos) {
            name = word.substr(0, equals);
            inlineValue = word.substr(equals + 1);
        }
        const TOptionRow* option = FindOption(options, name);
        if (option && option->TakenApart) option = nullptr;
        if (option && !option->Value.empty()) {
            if (inlineValue) {
                parsed.Options.emplace(name, *inlineValue);
            } else if (i + 1 < args.size()) {
                parsed.Options.emplace(name, args[++i]);
            } else {
                error = "option " + name + " needs a value";
                return std::nullopt;
            }
        } else if (option && !inlineValue) {
            parsed.Flags.insert(name);
        } else {
            error = "unknown option " + word;
            return std::nullopt;
        }
    }
    return parsed;
}

bool CheckSettingsFile(const TArguments& arguments, std::string& error) {
    auto file = arguments.Last("--settings");
    if (!file || FileExists(*file)) return true;
    error =
        "--settings: \"" + *file + "\" " + (PathExists(*file) ? "is not a file" : "does not exist");
    return false;
}

std::optional<std::int32_t> ParseCommandLineNumber(const std::string& text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseIntegerText("$" + text.substr(2));
    return ParseIntegerText(text);
}

std::optional<TCoreKind> ResolveCore(const TArguments& arguments, const ISettingsStore& settings,
                                     std::string& error) {
    if (auto name = arguments.Last("--core")) {
        if (auto kind = CoreKindFromName(*name)) return kind;
        error = "unknown core '" + *name + "' (use " + CoreCommandNames(", ", " or ") + ")";
        return std::nullopt;
    }
    if (arguments.Positional.empty()) return settings::LoadCoreKind(settings);
    return settings::CoreKindForFile(settings, arguments.Positional.front());
}

namespace {
// The program sizes of a core: ("|", "|") gives "1K|2K|4K", (", ", " or ")
// "1K, 2K or 4K".
std::string ProgramSizeChoices(const TCoreDescription& core, std::string_view separator,
                               std::string_view lastSeparator) {
    const std::vector<int> sizes = ProgramSizes(core);
    std::string text;
    for (std::size_t i = 0; i < sizes.size(); ++i)
        text.append(i == 0                  ? ""
                    : i + 1 == sizes.size() ? lastSeparator
                                            : separator)
            .append(ProgramSizeText(sizes[i]));
    return text;
}
} // namespace

std::string ProgramSizesText(std::string_view separator, std::string_view lastSeparator) {
    return ProgramSizeChoices(BuildOptionsCore(), separator, lastSeparator);
}

std::optional<TCoreOptions> ResolveCoreOptions(const TArguments& arguments,
                                               const ISettingsStore& settings, TCoreKind kind,
                                               std::string& error) {
    const TCoreDescription& core = CoreDescription(kind);
    TCoreOptions options = settings::LoadCoreOptions(settings, kind);
    auto refuse = [&](const std::string& message) -> std::optional<TCoreOptions> {
        error = message;
        return std::nullopt;
    };
    for (const char* name : {"--program-size", "--interrupt-vector", "--hwbuild"})
        if (arguments.Last(name) && !core.HasBuildOptions)
            return refuse(std::string(name) + " is not an option of the core " +
                          std::string(core.CommandName));
    if (auto text = arguments.Last("--program-size")) {
        auto size = ParseProgramSize(*text);
        if (!size || !IsProgramSize(core, *size))
            return refuse("--program-size takes " + ProgramSizeChoices(core, ", ", " or ") +
                          ", not '" + *text + "'");
        options.ProgramSize = *size;
    }
    if (auto text = arguments.Last("--interrupt-vector")) {
        auto vector = ParseCommandLineNumber(*text);
        if (!vector || *vector < 0 || *vector >= core.CodeSize)
            return refuse("--interrupt-vector takes a code address, $000 to $" +
                          HexText(core.CodeSize - 1, core.AddressDigits()) + ", not '" + *text +
                          "'");
        options.InterruptVector = *vector;
    }
    if (auto text = arguments.Last("--hwbuild")) {
        auto value = ParseCommandLineNumber(*text);
        if (!value || *value < 0 || *value > 0xFF)
            return refuse("--hwbuild takes $00 to $FF, not '" + *text + "'");
        options.HwBuild = *value;
    }
    if (core.HasBuildOptions && options.InterruptVector >= options.ProgramSize)
        return refuse("the interrupt vector $" +
                      HexText(options.InterruptVector, core.AddressDigits()) +
                      " lies beyond a program of " + ProgramSizeText(options.ProgramSize) +
                      " (see --interrupt-vector)");
    return options;
}

} // namespace korvo::cli
