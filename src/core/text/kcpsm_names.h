#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace korvo {

// A string map that looks up string_views without copying them.
struct TKcpsmNameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>{}(text);
    }
};
template <typename TValue>
using TKcpsmNameMap = std::unordered_map<std::string, TValue, TKcpsmNameHash, std::equal_to<>>;

// The kinds of names a KCPSM program defines. KCPSM keeps each kind apart and
// tells names by their exact spelling; the dialect has one table for all of
// them that ignores letter case, so the table below gives each name a
// spelling of its own.
enum class TKcpsmNameKind { Label, Constant, Register };

// One name that the converted source spells differently.
struct TKcpsmRename {
    TKcpsmNameKind Kind;
    std::string From;
    std::string To;
    // The NAMEREG line from which on a register name stands for the plain
    // register (0-based); -1 when the rename holds for the whole file.
    int FromLine = -1;

    // "constant character_A -> character_A_1", "register y -> s5 from line 40".
    std::string Text() const;
};

// What a NAMEREG line does in the converted source.
struct TKcpsmRegisterNaming {
    enum class THow {
        Equate,  // the new name becomes an equate of the register
        Silent,  // the line writes nothing; uses of the name become Text
        Restore, // the register gets its own name back
    };
    THow How = THow::Equate;
    int Line = 0;
    std::string OldName;
    std::string NewName;
    int Register = -1; // -1 when the old name is no register
    // What the new name is written as from this line on (after
    // AssignDialectNames): the new name's dialect spelling, or the plain
    // register when the register has another name already.
    std::string Text;
};

// Every name of a KCPSM program, and its spelling in the dialect. Fill it in
// file order, then call AssignDialectNames. A name keeps its spelling unless
// the dialect cannot take it (it starts with a digit, it is a word the dialect
// reserves) or another name already has it in some letter case; then it is
// renamed:
// - starting with a digit: a prefix by kind, "L_", "K_" or "R_"
//   ("1char_to_value" -> "L_1char_to_value");
// - a reserved word: a suffix by kind, "_label", "_const" or "_reg"
//   ("c" -> "c_reg");
// - then "_1", "_2", ... until the spelling is free ("character_A" ->
//   "character_A_1" when "character_a" came first).
// The first definition in the file keeps its spelling, and no rename takes a
// spelling that any name of the program keeps.
class TKcpsmNameTable {
public:
    void Define(TKcpsmNameKind kind, std::string_view name, int line);
    // NAMEREG oldName, newName on the line. Register names hold from their
    // NAMEREG on, as in KCPSM; the dialect lets a register have only one
    // name, so a register that gets a second name is written plainly there.
    void NameRegister(std::string_view oldName, std::string_view newName, int line);
    void AssignDialectNames();

    // The dialect spelling of a name the program defines with that kind;
    // null when it defines none.
    const std::string* DialectName(TKcpsmNameKind kind, std::string_view name) const;
    const std::vector<TKcpsmRegisterNaming>& RegisterNamings() const { return namings_; }
    // In the order of the lines that define the names.
    const std::vector<TKcpsmRename>& Renames() const { return renames_; }

private:
    struct TEntry {
        TKcpsmNameKind Kind;
        std::string Spelling;
        int Line;
        std::string Dialect;
    };
    std::vector<TEntry> entries_;
    std::array<TKcpsmNameMap<std::size_t>, 3> byKind_;
    std::vector<TKcpsmRegisterNaming> namings_;
    // While filling: the register each name stands for at the current line,
    // and the one name each register is equated with.
    TKcpsmNameMap<int> liveRegisters_;
    std::array<std::string, 16> equatedName_;
    std::vector<TKcpsmRename> renames_;
};

// Walks a program's lines in order and tells what a word names at the
// current line.
class TKcpsmScope {
public:
    explicit TKcpsmScope(const TKcpsmNameTable& names) : names_(names) {}

    // The NAMEREG of the current line; null when it has none.
    const TKcpsmRegisterNaming* NamingAt(int line) const;
    // Call after each line: its NAMEREG takes effect for the lines after it.
    void Leave(int line);
    // The dialect spelling of the name the word stands for, looked up as the
    // preferred kind first and then as the others; null when the word names
    // nothing.
    const std::string* Resolve(std::string_view word, TKcpsmNameKind preferred) const;

private:
    const std::string* Lookup(std::string_view word, TKcpsmNameKind kind) const;

    const TKcpsmNameTable& names_;
    std::size_t nextNaming_ = 0;
    TKcpsmNameMap<const std::string*> liveRegisters_;
};

// The register number of a KCPSM register name s0 to sF (any letter case);
// -1 for any other word.
int KcpsmRegisterNumber(std::string_view word);

// Whether the dialect takes the word as a name: an identifier that is no
// mnemonic, directive, register, condition or interrupt option of any core.
bool IsFreeDialectName(std::string_view word);

} // namespace korvo
