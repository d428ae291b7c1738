#include "text/kcpsm_names.h"

#include "assembler/instruction_set.h"
#include "assembler/keywords.h"
#include "assembler/symbol_table.h"
#include "common/hex_text.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

namespace korvo {

namespace {

constexpr std::size_t Index(TKcpsmNameKind kind) {
    return static_cast<std::size_t>(kind);
}

std::string_view KindWord(TKcpsmNameKind kind) {
    switch (kind) {
    case TKcpsmNameKind::Label: return "label";
    case TKcpsmNameKind::Constant: return "constant";
    case TKcpsmNameKind::Register: return "register";
    }
    return {};
}

bool IsIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
bool IsHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// The register names of every core (S0 to SF, S00 to S1F) in any letter
// case; the formatter also rewrites any of them into a register name.
bool IsRegisterSpelling(std::string_view word) {
    if (word.size() < 2 || word.size() > 3 || (word[0] != 's' && word[0] != 'S')) return false;
    if (word.size() == 2) return IsHexDigit(word[1]);
    return (word[1] == '0' || word[1] == '1') && IsHexDigit(word[2]);
}

const std::unordered_set<std::string>& ReservedWords() {
    static const std::unordered_set<std::string> words = [] {
        std::unordered_set<std::string> reserved;
        for (std::string_view entry : MnemonicNames)
            if (!entry.empty()) reserved.insert(UpperCase(KeywordSpelling(entry)));
        for (const TDirective& directive : kDirectives)
            reserved.insert(UpperCase(directive.Keyword));
        for (const auto& condition : kConditionNames)
            reserved.insert(std::string(condition.Name));
        for (const auto& option : kInterruptOptionNames)
            reserved.insert(std::string(option.Name));
        return reserved;
    }();
    return words;
}

// A spelling the dialect can take, close to the name.
std::string LegalBase(std::string_view name, TKcpsmNameKind kind) {
    std::string base(name);
    std::replace_if(
        base.begin(), base.end(), [](char c) { return !IsIdentifierChar(c); }, '_');
    static constexpr std::array<std::string_view, 3> kPrefixes{"L_", "K_", "R_"};
    static constexpr std::array<std::string_view, 3> kSuffixes{"_label", "_const", "_reg"};
    if (std::isdigit(static_cast<unsigned char>(base.front())))
        base.insert(0, kPrefixes[Index(kind)]);
    else if (!IsFreeDialectName(base))
        base += kSuffixes[Index(kind)];
    return base;
}

} // namespace

std::string TKcpsmRename::Text() const {
    std::string text = std::string(KindWord(Kind)) + " " + From + " -> " + To;
    if (FromLine >= 0) text += " from line " + std::to_string(FromLine + 1);
    return text;
}

int KcpsmRegisterNumber(std::string_view word) {
    if (word.size() != 2 || (word[0] != 's' && word[0] != 'S') || !IsHexDigit(word[1])) return -1;
    return static_cast<int>(*ParseHex(word.substr(1)));
}

bool IsFreeDialectName(std::string_view word) {
    if (word.empty() || std::isdigit(static_cast<unsigned char>(word.front())) ||
        !std::all_of(word.begin(), word.end(), IsIdentifierChar))
        return false;
    return !IsRegisterSpelling(word) && ReservedWords().count(UpperCase(word)) == 0;
}

void TKcpsmNameTable::Define(TKcpsmNameKind kind, std::string_view name, int line) {
    if (name.empty()) return;
    auto [where, added] = byKind_[Index(kind)].try_emplace(std::string(name), entries_.size());
    if (added) entries_.push_back({kind, std::string(name), line, {}});
}

void TKcpsmNameTable::NameRegister(std::string_view oldName, std::string_view newName, int line) {
    if (newName.empty()) return; // "NAMEREG s5," names nothing
    using THow = TKcpsmRegisterNaming::THow;
    TKcpsmRegisterNaming naming;
    naming.Line = line;
    naming.OldName = oldName;
    naming.NewName = newName;
    naming.Register = KcpsmRegisterNumber(oldName);
    if (auto live = liveRegisters_.find(naming.OldName); live != liveRegisters_.end()) {
        if (naming.Register < 0) naming.Register = live->second;
        liveRegisters_.erase(live);
    }
    if (KcpsmRegisterNumber(newName) >= 0) {
        naming.How = THow::Restore;
    } else if (naming.Register < 0) {
        // Not a register: the line stays an equate for the assembler to judge.
        Define(TKcpsmNameKind::Register, newName, line);
    } else {
        liveRegisters_[naming.NewName] = naming.Register;
        std::string& equated = equatedName_[static_cast<std::size_t>(naming.Register)];
        const bool nameTaken = byKind_[Index(TKcpsmNameKind::Register)].count(naming.NewName) != 0;
        if (equated.empty() && !nameTaken) {
            equated = naming.NewName;
            Define(TKcpsmNameKind::Register, newName, line);
        } else {
            naming.How = THow::Silent;
        }
    }
    namings_.push_back(std::move(naming));
}

void TKcpsmNameTable::AssignDialectNames() {
    std::unordered_set<std::string> taken;
    std::vector<std::size_t> renamed;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        TEntry& entry = entries_[i];
        if (IsFreeDialectName(entry.Spelling) && taken.insert(UpperCase(entry.Spelling)).second)
            entry.Dialect = entry.Spelling;
        else
            renamed.push_back(i);
    }
    for (std::size_t i : renamed) {
        TEntry& entry = entries_[i];
        const std::string base = LegalBase(entry.Spelling, entry.Kind);
        entry.Dialect = base;
        for (int n = 1; !taken.insert(UpperCase(entry.Dialect)).second; ++n)
            entry.Dialect = base + "_" + std::to_string(n);
        renames_.push_back({entry.Kind, entry.Spelling, entry.Dialect, -1});
    }

    using THow = TKcpsmRegisterNaming::THow;
    std::vector<int> renameLines;
    for (const TKcpsmRename& rename : renames_)
        renameLines.push_back(entries_[byKind_[Index(rename.Kind)].at(rename.From)].Line);
    for (TKcpsmRegisterNaming& naming : namings_) {
        if (naming.How == THow::Restore) continue;
        const std::string* dialect = DialectName(TKcpsmNameKind::Register, naming.NewName);
        const bool equated =
            naming.Register < 0 ||
            equatedName_[static_cast<std::size_t>(naming.Register)] == naming.NewName;
        if (equated) {
            naming.Text = *dialect;
        } else {
            naming.Text = "s" + HexText(naming.Register, 1);
            renames_.push_back(
                {TKcpsmNameKind::Register, naming.NewName, naming.Text, naming.Line});
            renameLines.push_back(naming.Line);
        }
    }
    // File order: by the line of the definition, stable within a line.
    std::vector<std::size_t> order(renames_.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return renameLines[a] < renameLines[b]; });
    std::vector<TKcpsmRename> sorted;
    sorted.reserve(order.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(renames_[i]));
    renames_ = std::move(sorted);
}

const std::string* TKcpsmNameTable::DialectName(TKcpsmNameKind kind, std::string_view name) const {
    const auto& names = byKind_[Index(kind)];
    auto found = names.find(name);
    return found == names.end() ? nullptr : &entries_[found->second].Dialect;
}

const TKcpsmRegisterNaming* TKcpsmScope::NamingAt(int line) const {
    const auto& namings = names_.RegisterNamings();
    return nextNaming_ < namings.size() && namings[nextNaming_].Line == line ? &namings[nextNaming_]
                                                                             : nullptr;
}

void TKcpsmScope::Leave(int line) {
    const TKcpsmRegisterNaming* naming = NamingAt(line);
    if (!naming) return;
    ++nextNaming_;
    liveRegisters_.erase(naming->OldName);
    if (naming->How != TKcpsmRegisterNaming::THow::Restore)
        liveRegisters_[naming->NewName] = &naming->Text;
}

const std::string* TKcpsmScope::Lookup(std::string_view word, TKcpsmNameKind kind) const {
    if (kind == TKcpsmNameKind::Register && !liveRegisters_.empty()) {
        auto live = liveRegisters_.find(word);
        if (live != liveRegisters_.end()) return live->second;
    }
    return names_.DialectName(kind, word);
}

const std::string* TKcpsmScope::Resolve(std::string_view word, TKcpsmNameKind preferred) const {
    if (const std::string* name = Lookup(word, preferred)) return name;
    for (TKcpsmNameKind kind :
         {TKcpsmNameKind::Register, TKcpsmNameKind::Constant, TKcpsmNameKind::Label})
        if (kind != preferred)
            if (const std::string* name = Lookup(word, kind)) return name;
    return nullptr;
}

} // namespace korvo
