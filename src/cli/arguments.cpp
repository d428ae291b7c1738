#include "cli/arguments.h"

#include "common/settings_layout.h"

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
                                         const std::set<std::string>& withValue,
                                         const std::set<std::string>& switches,
                                         std::string& error) {
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
        if (withValue.count(name)) {
            if (inlineValue) {
                parsed.Options.emplace(name, *inlineValue);
            } else if (i + 1 < args.size()) {
                parsed.Options.emplace(name, args[++i]);
            } else {
                error = "option " + name + " needs a value";
                return std::nullopt;
            }
        } else if (switches.count(name) && !inlineValue) {
            parsed.Flags.insert(name);
        } else {
            error = "unknown option " + word;
            return std::nullopt;
        }
    }
    return parsed;
}

std::string CoreOptionSynopsis() {
    return "[--core " + CoreCommandNames("|", "|") + "]";
}

std::string CoreOptionHelp(std::size_t column, std::string_view description) {
    std::string line = "  --core " + CoreCommandNames("|", "|");
    line.append(line.size() + 2 > column ? 2 : column - line.size(), ' ');
    return line.append(description) + "\n";
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

} // namespace korvo::cli
