#include "text/kcpsm_import.h"

#include "assembler/symbol_table.h"
#include "common/hex_text.h"
#include "text/kcpsm6_source.h"
#include "text/kcpsm_hex.h"
#include "text/kcpsm_names.h"
#include "text/kcpsm_words.h"
#include "text/source_formatter.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <optional>
#include <string_view>

namespace korvo {

namespace {

// Which operand words of an instruction are keywords rather than registers,
// numbers or names.
enum class TOperandShape {
    Plain,        // every operand: registers, constants, ports
    Branch,       // [condition,] target
    Return,       // [condition]
    ReturnI,      // ENABLE or DISABLE
    Interrupt,    // INTERRUPT
    RegisterPair, // (sX, sY): JUMP@ and CALL@
    Bank,         // A or B: REGBANK
    ConstantPort, // constant or STRING or TABLE, port: OUTPUTK
    LoadReturn,   // register, constant or STRING or TABLE: LOAD&RETURN
};

struct TKcpsmInstruction {
    std::string_view Kcpsm;
    // The dialect's mnemonic where it differs; empty where it is the same.
    std::string_view Dialect;
    TOperandShape Shape;
    bool Kcpsm6Only = false;
};

constexpr std::array<TKcpsmInstruction, 39> kKcpsmInstructions{{
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
    {"TESTCY", "TESTC", TOperandShape::Plain, true},
    {"COMPARECY", "COMPC", TOperandShape::Plain, true},
    {"STAR", {}, TOperandShape::Plain, true},
    {"HWBUILD", {}, TOperandShape::Plain, true},
    {"OUTPUTK", "OUTK", TOperandShape::ConstantPort, true},
    {"LOAD&RETURN", "RETL", TOperandShape::LoadReturn, true},
    {"REGBANK", "BANK", TOperandShape::Bank, true},
    {"JUMP@", "JUMP", TOperandShape::RegisterPair, true},
    {"CALL@", "CALL", TOperandShape::RegisterPair, true},
}};

constexpr std::string_view kConstant = "CONSTANT";
constexpr std::string_view kNameReg = "NAMEREG";
constexpr std::string_view kAddress = "ADDRESS";
// KCPSM6 only.
constexpr std::string_view kString = "STRING";
constexpr std::string_view kTable = "TABLE";
constexpr std::string_view kDefaultJump = "DEFAULT_JUMP";
constexpr std::string_view kInst = "INST";

// Constants are bytes; ADDRESS and branch targets reach the code space of
// the core the assembler writes for; INST takes a whole instruction word.
constexpr std::uint64_t kConstantLimit = 255;
constexpr std::uint64_t kPortLimit = 15;
constexpr std::uint64_t kWordLimit = CoreDescription(kKcpsm6Core).WordMask();

std::uint64_t AddressLimit(TKcpsmDialect dialect) {
    return CoreDescription(dialect == TKcpsmDialect::Kcpsm6 ? kKcpsm6Core : kKcpsmCore)
        .MaxCodeAddress();
}

const TKcpsmInstruction* FindInstruction(std::string_view upperWord, TKcpsmDialect dialect) {
    auto found =
        std::find_if(kKcpsmInstructions.begin(), kKcpsmInstructions.end(),
                     [&](const TKcpsmInstruction& entry) { return entry.Kcpsm == upperWord; });
    if (found == kKcpsmInstructions.end()) return nullptr;
    return found->Kcpsm6Only && dialect != TKcpsmDialect::Kcpsm6 ? nullptr : &*found;
}

bool IsDirectiveWord(std::string_view upperWord, TKcpsmDialect dialect) {
    if (upperWord == kConstant || upperWord == kNameReg || upperWord == kAddress) return true;
    return dialect == TKcpsmDialect::Kcpsm6 && (upperWord == kString || upperWord == kTable ||
                                                upperWord == kDefaultJump || upperWord == kInst);
}

bool IsStatementWord(std::string_view upperWord, TKcpsmDialect dialect) {
    return IsDirectiveWord(upperWord, dialect) || FindInstruction(upperWord, dialect) != nullptr;
}

// A statement glued to its label ("loop:LOAD s0, 01") starts after the
// colon. Anything else after a colon stays part of the label word.
void SplitGluedStatement(TKcpsmStatement& statement, TKcpsmDialect dialect) {
    if (!statement.HasLabel()) return;
    const std::size_t colon = statement.Lead.find(':');
    std::string rest = statement.Lead.substr(colon + 1);
    if (rest.empty() || !IsStatementWord(UpperCase(rest), dialect)) return;
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
    TKcpsmConverter(TKcpsmFlatSource source, TKcpsmDialect dialect,
                    const TKcpsmImportOptions& options)
        : source_(std::move(source)), dialect_(dialect), addressLimit_(AddressLimit(dialect)) {
        const bool quoted = dialect == TKcpsmDialect::Kcpsm6;
        statements_.reserve(source_.Lines.size());
        for (const auto& line : source_.Lines) {
            statements_.push_back(SplitKcpsmStatement(line.Text, quoted));
            SplitGluedStatement(statements_.back(), dialect);
        }
        const std::time_t now = std::time(nullptr);
        now_ = options.AssemblyTime.value_or(*std::localtime(&now));
        if (dialect == TKcpsmDialect::Kcpsm6)
            for (const char* name : {"datestamp$", "timestamp$", "KCPSM6_version$"}) {
                const std::string text = *Kcpsm6PredefinedString(
                    name, now_, options.AssemblerVersion.value_or(std::string(kKcpsm6Version)));
                sequences_[name] = std::vector<std::uint8_t>(text.begin(), text.end());
            }
        CollectNames();
    }

    TKcpsmConversion Convert() {
        TKcpsmConversion conversion;
        conversion.Dialect = dialect_;
        conversion.Files = source_.Files;
        conversion.Notes = source_.Notes;
        for (const TKcpsmRename& rename : names_.Renames())
            conversion.Renames.push_back(rename.Text());
        if (!conversion.Renames.empty()) {
            conversion.Lines.push_back("; KCPSM names renamed on import:");
            for (const auto& rename : conversion.Renames)
                conversion.Lines.push_back("; " + rename);
        }
        if (!predefined_.empty()) {
            conversion.Lines.push_back("; KCPSM6 constants:");
            for (const auto& [name, value] : predefined_)
                conversion.Lines.push_back(DialectName(TKcpsmNameKind::Constant, name) + " EQU $" +
                                           HexText(value, 2));
        }
        conversion.HeaderLines = conversion.Lines.size();
        conversion.Origins.assign(conversion.HeaderLines, TKcpsmOrigin{});
        conversion.Lines.reserve(conversion.HeaderLines + source_.Lines.size());
        TKcpsmScope scope(names_);
        for (std::size_t i = 0; i < source_.Lines.size(); ++i) {
            const int line = static_cast<int>(i);
            const TKcpsmSourceLine& from = source_.Lines[i];
            std::vector<std::string> converted{std::string()};
            if (!from.Text.empty()) converted = ConvertLine(statements_[i], line, scope);
            for (auto& text : converted) {
                conversion.Lines.push_back(std::move(text));
                conversion.Origins.push_back({from.File, from.Line});
            }
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
            // A label with only a comment after it names nothing more.
            if (statement.OperandEnd() == 0) continue;
            const std::string keyword = UpperCase(statement.Words[0]);
            const std::size_t operands = statement.OperandEnd();
            if (keyword == kConstant && operands >= 2)
                names_.Define(TKcpsmNameKind::Constant, statement.Words[1], line);
            else if (keyword == kNameReg && operands >= 3)
                names_.NameRegister(statement.Words[1], statement.Words[2], line);
            else if (dialect_ == TKcpsmDialect::Kcpsm6)
                CollectKcpsm6Definition(keyword, statement);
        }
        if (dialect_ == TKcpsmDialect::Kcpsm6) CollectPredefinedConstants();
        names_.AssignDialectNames();
    }

    // STRING name$, "text" and TABLE name#, [...]: what OUTPUTK and
    // LOAD&RETURN send of them.
    void CollectKcpsm6Definition(const std::string& keyword, const TKcpsmStatement& statement) {
        const std::vector<std::string> operands(statement.Words.begin() + 1,
                                                statement.Words.begin() + statement.OperandEnd());
        if (operands.empty()) return;
        if (keyword == kString) {
            if (auto text = Kcpsm6StringText(operands))
                sequences_[operands[0]] = std::vector<std::uint8_t>(text->begin(), text->end());
        } else if (keyword == kTable) {
            if (auto bytes = Kcpsm6TableBytes(operands)) sequences_[operands[0]] = *bytes;
        }
    }

    // The predefined constants that operands use and the program does not
    // define; each becomes an EQU of the header.
    void CollectPredefinedConstants() {
        for (const auto& statement : statements_) {
            for (std::size_t i = 1; i < statement.OperandEnd(); ++i) {
                std::string_view word = statement.Words[i];
                if (!word.empty() && word.front() == '~') word.remove_prefix(1);
                if (names_.DialectName(TKcpsmNameKind::Constant, word) ||
                    names_.DialectName(TKcpsmNameKind::Label, word) ||
                    predefined_.count(std::string(word)))
                    continue;
                if (auto value = Kcpsm6PredefinedValue(word, now_)) {
                    predefined_.emplace(std::string(word), *value);
                    names_.Define(TKcpsmNameKind::Constant, word, -1);
                }
            }
        }
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
    // which stays as it is. KCPSM6 numbers and address parts become the
    // dialect's.
    std::string RewriteOperand(const std::string& word, std::uint64_t limit,
                               std::string_view separator, TKcpsmNameKind preferred,
                               const TKcpsmScope& scope) const {
        std::string result(separator);
        if (auto name = Renamed(word, preferred, scope)) return result + *name;
        if (dialect_ == TKcpsmDialect::Kcpsm6)
            if (auto text = Kcpsm6Operand(word, scope)) return result + *text;
        const auto value = ParseHex(word);
        if (value && *value <= 99) return result + std::to_string(*value);
        if (value && *value <= limit)
            return result + "$" + HexText(static_cast<std::int64_t>(*value), 2);
        return IsKcpsmComment(word) ? word : result + word;
    }

    // 42'd, 0101'b, "A"; ~name; label'upper and label'lower.
    static std::optional<std::string> Kcpsm6Operand(const std::string& word,
                                                    const TKcpsmScope& scope) {
        if (auto text = Kcpsm6NumberText(word)) return text;
        if (word.size() > 1 && word.front() == '~')
            if (auto name = Renamed(word.substr(1), TKcpsmNameKind::Constant, scope))
                return "~" + *name;
        if (auto part = Kcpsm6AddressPart(word)) {
            const std::string* name = scope.Resolve(part->Name, TKcpsmNameKind::Label);
            const std::string base = name ? *name : std::string(part->Name);
            return base + (part->Upper ? "/256" : "&$FF");
        }
        return std::nullopt;
    }

    std::vector<std::string> ConvertLine(TKcpsmStatement statement, int line,
                                         const TKcpsmScope& scope) const {
        std::string result = statement.Lead;
        if (statement.HasLabel())
            result = DialectName(TKcpsmNameKind::Label, std::string(statement.LabelName())) +
                     statement.Lead.substr(statement.Lead.find(':'));
        auto& words = statement.Words;
        if (words.empty()) return {result};

        const std::string keyword = UpperCase(words[0]);
        if (dialect_ == TKcpsmDialect::Kcpsm6)
            if (auto lines = ConvertKcpsm6Statement(result, statement, keyword, line, scope))
                return *lines;
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
                    RewriteOperand(words[1], addressLimit_, " ", TKcpsmNameKind::Label, scope);
            }
            AppendWords(result, words, 1, "");
        } else {
            ConvertInstruction(result, words, statement.OperandEnd(), keyword, scope);
        }
        return {result};
    }

    // What KCPSM6 has beyond KCPSM3; nothing for the other statements.
    std::optional<std::vector<std::string>>
    ConvertKcpsm6Statement(const std::string& lead, TKcpsmStatement& statement,
                           const std::string& keyword, int line, const TKcpsmScope& scope) const {
        auto& words = statement.Words;
        const std::size_t operandEnd = statement.OperandEnd();
        const std::string comment = operandEnd < words.size() ? " " + words.back() : "";
        if (keyword == kString || keyword == kTable) {
            // Nothing to assemble: the definition stays as a remark.
            const std::string text(
                TrimKcpsmLine(source_.Lines[static_cast<std::size_t>(line)].Text));
            return std::vector<std::string>{lead.empty() ? "; " + text : lead + " ; " + text};
        }
        if (keyword == kDefaultJump || keyword == kInst) {
            std::string result = lead + " " + (keyword == kInst ? "INST" : "DEFJUMP");
            for (std::size_t i = 1; i < operandEnd; ++i)
                result += RewriteOperand(words[i], keyword == kInst ? kWordLimit : addressLimit_,
                                         " ", TKcpsmNameKind::Label, scope);
            return std::vector<std::string>{result + comment};
        }
        const TKcpsmInstruction* instruction = FindInstruction(keyword, dialect_);
        if (!instruction) return std::nullopt;
        switch (instruction->Shape) {
        case TOperandShape::RegisterPair: {
            // "(sX, sY)" in any spacing: the two registers.
            std::vector<std::string> registers;
            for (std::size_t i = 1; i < operandEnd; ++i) {
                std::string word = words[i];
                std::erase_if(word, [](char c) { return c == '(' || c == ')'; });
                if (word.empty()) continue;
                auto name = Renamed(word, TKcpsmNameKind::Register, scope);
                registers.push_back(name ? *name : word);
            }
            std::string result = lead + std::string(instruction->Dialect) + " (";
            for (std::size_t i = 0; i < registers.size(); ++i)
                result += (i ? ", " : "") + registers[i];
            return std::vector<std::string>{result + ")" + comment};
        }
        case TOperandShape::Bank:
            return std::vector<std::string>{lead + std::string(instruction->Dialect) +
                                            (operandEnd > 1 ? UpperCase(words[1]) : std::string()) +
                                            comment};
        case TOperandShape::ConstantPort: {
            if (operandEnd < 3) break;
            const std::string port =
                RewriteOperand(words[2], kPortLimit, ", ", TKcpsmNameKind::Constant, scope);
            if (const auto* bytes = Sequence(words[1]))
                return Expanded(lead, comment, words[1], *bytes,
                                [&](const std::string& value) { return "OUTK " + value + port; });
            return std::vector<std::string>{
                lead + "OUTK" +
                RewriteOperand(words[1], kConstantLimit, " ", TKcpsmNameKind::Constant, scope) +
                port + comment};
        }
        case TOperandShape::LoadReturn: {
            if (operandEnd < 3) break;
            const auto* bytes = Sequence(words[2]);
            if (!bytes) break;
            const auto target = Renamed(words[1], TKcpsmNameKind::Register, scope);
            const std::string sX = target ? *target : words[1];
            return Expanded(lead, comment, words[2], *bytes,
                            [&](const std::string& value) { return "RETL " + sX + ", " + value; });
        }
        case TOperandShape::Plain:
        case TOperandShape::Branch:
        case TOperandShape::Return:
        case TOperandShape::ReturnI:
        case TOperandShape::Interrupt: break;
        }
        return std::nullopt;
    }

    // The bytes of a STRING or TABLE name; null for another word.
    const std::vector<std::uint8_t>* Sequence(const std::string& word) const {
        auto found = sequences_.find(word);
        return found == sequences_.end() ? nullptr : &found->second;
    }

    // One instruction for each byte: the first carries the label and the
    // comment. A string (name$) as characters, a table (name#) as numbers.
    static std::vector<std::string>
    Expanded(const std::string& lead, const std::string& comment, const std::string& name,
             const std::vector<std::uint8_t>& bytes,
             const std::function<std::string(const std::string&)>& instruction) {
        const bool characters = !name.empty() && name.back() == '$';
        std::vector<std::string> lines;
        for (std::uint8_t byte : bytes) {
            const std::string value = characters   ? DialectCharacter(byte)
                                      : byte <= 99 ? std::to_string(byte)
                                                   : "$" + HexText(byte, 2);
            lines.push_back((lines.empty() ? lead : std::string()) + " " + instruction(value) +
                            (lines.empty() ? comment : std::string()));
        }
        if (lines.empty()) lines.push_back(lead + comment);
        return lines;
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

    void ConvertInstruction(std::string& result, std::vector<std::string>& words,
                            std::size_t operandEnd, const std::string& keyword,
                            const TKcpsmScope& scope) const {
        const TKcpsmInstruction* instruction = FindInstruction(keyword, dialect_);
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
            const std::uint64_t limit = branch ? addressLimit_ : kConstantLimit;
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

    TKcpsmFlatSource source_;
    TKcpsmDialect dialect_;
    std::uint64_t addressLimit_;
    std::tm now_{};
    std::vector<TKcpsmStatement> statements_;
    TKcpsmNameTable names_;
    // KCPSM6: the bytes of each STRING (name$) and TABLE (name#), and the
    // predefined constants the program uses, by name.
    std::map<std::string, std::vector<std::uint8_t>> sequences_;
    std::map<std::string, int> predefined_;
};

} // namespace

TKcpsmConversion ImportKcpsmLines(const std::vector<std::string>& lines,
                                  const TKcpsmImportOptions& options) {
    const TKcpsmDialect dialect = options.Dialect.value_or(
        LooksLikeKcpsm6(lines) ? TKcpsmDialect::Kcpsm6 : TKcpsmDialect::Kcpsm3);
    TKcpsmFlatSource source;
    if (dialect == TKcpsmDialect::Kcpsm6) {
        source = FlattenKcpsmIncludes(lines, options.SourceFile);
    } else {
        source.Files.push_back(options.SourceFile);
        for (std::size_t i = 0; i < lines.size(); ++i)
            source.Lines.push_back({lines[i], 0, static_cast<int>(i) + 1});
    }
    return TKcpsmConverter(std::move(source), dialect, options).Convert();
}

TKcpsmConversion ImportKcpsmSource(TSynHighLighterIDE& scanner,
                                   const std::vector<std::string>& lines, TCoreKind coreKind,
                                   const TFormatColumns& columns,
                                   const TKcpsmImportOptions& options) {
    TKcpsmConversion conversion = ImportKcpsmLines(lines, options);
    conversion.Lines = FormatLines(scanner, conversion.Lines, coreKind, columns);
    return conversion;
}

std::vector<std::string> ConvertKcpsmSource(TSynHighLighterIDE& scanner,
                                            const std::vector<std::string>& lines,
                                            TCoreKind coreKind, const TFormatColumns& columns,
                                            const TKcpsmImportOptions& options) {
    return ImportKcpsmSource(scanner, lines, coreKind, columns, options).Lines;
}

} // namespace korvo
