#include "text/kcpsm_import.h"

#include "assembler/symbol_table.h"
#include "common/hex_text.h"
#include "text/kcpsm_names.h"
#include "text/kcpsm_words.h"
#include "text/source_formatter.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string_view>

namespace korvo {

namespace {

// Which operand words of an instruction are keywords rather than registers,
// numbers or names.
enum class TOperandShape {
    Plain,     // every operand: registers, constants, ports
    Branch,    // [condition,] target
    Return,    // [condition]
    ReturnI,   // ENABLE or DISABLE
    Interrupt, // INTERRUPT
};

struct TKcpsmInstruction {
    std::string_view Kcpsm;
    // The dialect's mnemonic where it differs; empty where it is the same.
    std::string_view Dialect;
    TOperandShape Shape;
};

constexpr std::array<TKcpsmInstruction, 30> kKcpsm3Instructions{{
    {"ADDCY", "ADDC", TOperandShape::Plain},
    {"SUBCY", "SUBC", TOperandShape::Plain},
    {"INPUT", "IN", TOperandShape::Plain},
    {"OUTPUT", "OUT", TOperandShape::Plain},
    {"RETURN", "RET", TOperandShape::Return},
    {"RETURNI", "RETI", TOperandShape::ReturnI},
    {"ENABLE", "EINT", TOperandShape::Interrupt},
    {"DISABLE", "DINT", TOperandShape::Interrupt},
    {"COMPARE", "COMP", TOperandShape::Plain},
    {"JUMP", {}, TOperandShape::Branch},
    {"CALL", {}, TOperandShape::Branch},
    {"LOAD", {}, TOperandShape::Plain},
    {"AND", {}, TOperandShape::Plain},
    {"OR", {}, TOperandShape::Plain},
    {"XOR", {}, TOperandShape::Plain},
    {"TEST", {}, TOperandShape::Plain},
    {"ADD", {}, TOperandShape::Plain},
    {"SUB", {}, TOperandShape::Plain},
    {"FETCH", {}, TOperandShape::Plain},
    {"STORE", {}, TOperandShape::Plain},
    {"SR0", {}, TOperandShape::Plain},
    {"SR1", {}, TOperandShape::Plain},
    {"SRX", {}, TOperandShape::Plain},
    {"SRA", {}, TOperandShape::Plain},
    {"RR", {}, TOperandShape::Plain},
    {"SL0", {}, TOperandShape::Plain},
    {"SL1", {}, TOperandShape::Plain},
    {"SLX", {}, TOperandShape::Plain},
    {"SLA", {}, TOperandShape::Plain},
    {"RL", {}, TOperandShape::Plain},
}};

constexpr std::string_view kConstant = "CONSTANT";
constexpr std::string_view kNameReg = "NAMEREG";
constexpr std::string_view kAddress = "ADDRESS";

// Constants are bytes; ADDRESS and branch targets reach the 1024-word code
// space.
constexpr std::uint64_t kConstantLimit = 255;
constexpr std::uint64_t kAddressLimit = 1023;

const TKcpsmInstruction* FindInstruction(std::string_view upperWord) {
    auto found =
        std::find_if(kKcpsm3Instructions.begin(), kKcpsm3Instructions.end(),
                     [&](const TKcpsmInstruction& entry) { return entry.Kcpsm == upperWord; });
    return found == kKcpsm3Instructions.end() ? nullptr : &*found;
}

bool IsStatementWord(std::string_view upperWord) {
    return upperWord == kConstant || upperWord == kNameReg || upperWord == kAddress ||
           FindInstruction(upperWord) != nullptr;
}

// A statement glued to its label ("loop:LOAD s0, 01") starts after the
// colon. Anything else after a colon stays part of the label word.
void SplitGluedStatement(TKcpsmStatement& statement) {
    if (!statement.HasLabel()) return;
    const std::size_t colon = statement.Lead.find(':');
    std::string rest = statement.Lead.substr(colon + 1);
    if (rest.empty() || !IsStatementWord(UpperCase(rest))) return;
    statement.Lead.resize(colon + 1);
    statement.Words.insert(statement.Words.begin(), std::move(rest));
}

bool IsMixedCase(std::string_view word) {
    bool upper = false;
    bool lower = false;
    for (char c : word) {
        upper = upper || std::isupper(static_cast<unsigned char>(c));
        lower = lower || std::islower(static_cast<unsigned char>(c));
    }
    return upper && lower;
}

void AppendWords(std::string& line, const std::vector<std::string>& words, std::size_t from,
                 std::string_view before) {
    for (std::size_t i = from; i < words.size(); ++i) {
        line += before;
        line += words[i];
    }
}

class TKcpsmConverter {
public:
    explicit TKcpsmConverter(const std::vector<std::string>& lines) {
        statements_.reserve(lines.size());
        for (const auto& line : lines) {
            statements_.push_back(SplitKcpsmStatement(line));
            SplitGluedStatement(statements_.back());
        }
        CollectNames();
    }

    TKcpsmConversion Convert(const std::vector<std::string>& lines) {
        TKcpsmConversion conversion;
        for (const TKcpsmRename& rename : names_.Renames())
            conversion.Renames.push_back(rename.Text());
        if (!conversion.Renames.empty()) {
            conversion.Lines.push_back("; KCPSM names renamed on import:");
            for (const auto& rename : conversion.Renames)
                conversion.Lines.push_back("; " + rename);
        }
        conversion.HeaderLines = conversion.Lines.size();
        conversion.Lines.reserve(conversion.HeaderLines + lines.size());
        TKcpsmScope scope(names_);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const int line = static_cast<int>(i);
            conversion.Lines.push_back(lines[i].empty() ? std::string()
                                                        : ConvertLine(statements_[i], line, scope));
            scope.Leave(line);
        }
        return conversion;
    }

private:
    void CollectNames() {
        for (std::size_t i = 0; i < statements_.size(); ++i) {
            const TKcpsmStatement& statement = statements_[i];
            const int line = static_cast<int>(i);
            if (statement.HasLabel())
                names_.Define(TKcpsmNameKind::Label, statement.LabelName(), line);
            if (statement.Words.empty()) continue;
            const std::string keyword = UpperCase(statement.Words[0]);
            const std::size_t operands = statement.OperandEnd();
            if (keyword == kConstant && operands >= 2)
                names_.Define(TKcpsmNameKind::Constant, statement.Words[1], line);
            else if (keyword == kNameReg && operands >= 3)
                names_.NameRegister(statement.Words[1], statement.Words[2], line);
        }
        names_.AssignDialectNames();
    }

    std::string DialectName(TKcpsmNameKind kind, const std::string& name) const {
        const std::string* dialect = names_.DialectName(kind, name);
        return dialect ? *dialect : name;
    }

    // The word with the name it holds (inside any parentheses) respelt;
    // null when it holds no name.
    static std::optional<std::string> Renamed(const std::string& word, TKcpsmNameKind preferred,
                                              const TKcpsmScope& scope) {
        const std::size_t begin = word.find_first_not_of('(');
        const std::size_t end = word.find_last_not_of(')');
        if (begin == std::string::npos || end < begin) return std::nullopt;
        const std::string_view inner = std::string_view(word).substr(begin, end + 1 - begin);
        // Where a register may stand, s0 to sF are the registers.
        if (preferred == TKcpsmNameKind::Register && KcpsmRegisterNumber(inner) >= 0)
            return std::nullopt;
        const std::string* name = scope.Resolve(inner, preferred);
        if (!name) return std::nullopt;
        return word.substr(0, begin) + *name + word.substr(end + 1);
    }

    // A hexadecimal word becomes a decimal number up to 99 and a "$" number
    // up to the limit; a name is respelt; anything else keeps its text. The
    // separator goes in front of the result, except before a comment word,
    // which stays as it is.
    static std::string RewriteOperand(const std::string& word, std::uint64_t limit,
                                      std::string_view separator, TKcpsmNameKind preferred,
                                      const TKcpsmScope& scope) {
        std::string result(separator);
        if (auto name = Renamed(word, preferred, scope)) return result + *name;
        const auto value = ParseHex(word);
        if (value && *value <= 99) return result + std::to_string(*value);
        if (value && *value <= limit)
            return result + "$" + HexText(static_cast<std::int64_t>(*value), 2);
        return IsKcpsmComment(word) ? word : result + word;
    }

    std::string ConvertLine(TKcpsmStatement statement, int line, const TKcpsmScope& scope) const {
        std::string result = statement.Lead;
        if (statement.HasLabel())
            result = DialectName(TKcpsmNameKind::Label, std::string(statement.LabelName())) +
                     statement.Lead.substr(statement.Lead.find(':'));
        auto& words = statement.Words;
        if (words.empty()) return result;

        const std::string keyword = UpperCase(words[0]);
        if (keyword == kConstant) {
            if (words.size() >= 2)
                result += DialectName(TKcpsmNameKind::Constant, words[1]) + " EQU ";
            if (words.size() >= 3)
                words[2] =
                    RewriteOperand(words[2], kConstantLimit, " ", TKcpsmNameKind::Constant, scope);
            AppendWords(result, words, 2, "");
        } else if (keyword == kNameReg) {
            ConvertNameReg(result, words, scope.NamingAt(line));
        } else if (keyword == kAddress) {
            if (words.size() >= 2) {
                result += " ORG ";
                words[1] =
                    RewriteOperand(words[1], kAddressLimit, " ", TKcpsmNameKind::Label, scope);
            }
            AppendWords(result, words, 1, "");
        } else {
            ConvertInstruction(result, words, statement.OperandEnd(), keyword, scope);
        }
        return result;
    }

    static void ConvertNameReg(std::string& result, const std::vector<std::string>& words,
                               const TKcpsmRegisterNaming* naming) {
        using THow = TKcpsmRegisterNaming::THow;
        if (naming && naming->How == THow::Equate) {
            // The new name becomes an equate of the register, which is
            // written plainly where the old name was another name of it.
            const bool plain = naming->Register >= 0 && KcpsmRegisterNumber(words[1]) < 0;
            result +=
                naming->Text + " EQU " + (plain ? "s" + HexText(naming->Register, 1) : words[1]);
        } else if (naming) {
            // Nothing to define: the line stays as a remark of where the
            // register's name changed.
            result += " ; " + words[0] + " " + words[1] + ", " + words[2];
        } else if (words.size() >= 3) {
            result += words[2] + " EQU " + words[1];
        }
        AppendWords(result, words, 3, " ");
    }

    static void ConvertInstruction(std::string& result, std::vector<std::string>& words,
                                   std::size_t operandEnd, const std::string& keyword,
                                   const TKcpsmScope& scope) {
        const TKcpsmInstruction* instruction = FindInstruction(keyword);
        const TOperandShape shape = instruction ? instruction->Shape : TOperandShape::Plain;
        const bool branch = shape == TOperandShape::Branch;
        for (std::size_t i = 1; i < operandEnd; ++i) {
            // Conditions and interrupt options are keywords, also where a
            // name of the program is spelt the same.
            const bool keywordOperand =
                (branch && i == 1 && operandEnd > 2) || shape == TOperandShape::Return ||
                shape == TOperandShape::ReturnI || shape == TOperandShape::Interrupt;
            if (keywordOperand) continue;
            // A branch target is a code address, not a byte: read with the
            // byte limit, "JUMP NZ, 100" would keep "100" and the dialect
            // would read it as decimal, another address.
            const bool target = branch && i + 1 == operandEnd;
            const TKcpsmNameKind preferred =
                target ? TKcpsmNameKind::Label : TKcpsmNameKind::Register;
            const std::uint64_t limit = branch ? kAddressLimit : kConstantLimit;
            if (i == 2) {
                words[i] = RewriteOperand(words[i], limit, ", ", preferred, scope);
            } else if (auto name = Renamed(words[i], preferred, scope)) {
                words[i] = *name;
            } else if (target && UpperCase(words[i]) != "C") {
                // An unconditional target is the only operand. "JUMP C" (a
                // condition without a target) stays as written for the
                // assembler to report.
                words[i] = RewriteOperand(words[i], limit, "", preferred, scope);
            }
        }
        if (instruction && !instruction->Dialect.empty()) {
            result += instruction->Dialect;
            // ENABLE INTERRUPT and DISABLE INTERRUPT lose their operand word.
            const bool dropInterrupt = shape == TOperandShape::Interrupt && words.size() > 1 &&
                                       UpperCase(words[1]) == "INTERRUPT";
            AppendWords(result, words, dropInterrupt ? 2 : 1, " ");
            return;
        }
        // The dialect takes a mnemonic in upper or lower case only.
        if (instruction && IsMixedCase(words[0])) words[0] = keyword;
        AppendWords(result, words, 0, " ");
    }

    std::vector<TKcpsmStatement> statements_;
    TKcpsmNameTable names_;
};

} // namespace

TKcpsmConversion ImportKcpsmLines(const std::vector<std::string>& lines) {
    return TKcpsmConverter(lines).Convert(lines);
}

TKcpsmConversion ImportKcpsmSource(TSynHighLighterIDE& scanner,
                                   const std::vector<std::string>& lines, TCoreKind coreKind,
                                   const TFormatColumns& columns) {
    TKcpsmConversion conversion = ImportKcpsmLines(lines);
    conversion.Lines = FormatLines(scanner, conversion.Lines, coreKind, columns);
    return conversion;
}

std::vector<std::string> ConvertKcpsmSource(TSynHighLighterIDE& scanner,
                                            const std::vector<std::string>& lines,
                                            TCoreKind coreKind, const TFormatColumns& columns) {
    return ImportKcpsmSource(scanner, lines, coreKind, columns).Lines;
}

} // namespace korvo
