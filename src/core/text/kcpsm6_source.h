#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// What the KCPSM6 language has beyond KCPSM3, for the import: the words only
// it knows, its forms of numbers, its predefined constants, its STRING and
// TABLE definitions and its INCLUDE files.

// Whether a source uses syntax only KCPSM6 knows: one of its mnemonics or
// directives (OUTPUTK, LOAD&RETURN, REGBANK, STRING, INCLUDE, ...), a number
// with 'd or 'b, or an address with 'upper or 'lower.
bool LooksLikeKcpsm6(const std::vector<std::string>& lines);

// A word of a KCPSM6 number form as the dialect writes it: 42'd as 42,
// 01101101'b as %01101101, "A" as 'A' (a quote or a character the dialect
// cannot take in a literal as $27); nothing for any other word.
std::optional<std::string> Kcpsm6NumberText(std::string_view word);

// The value of a KCPSM6 number that needs no name: hexadecimal, 'd, 'b or a
// character; nothing for anything else.
std::optional<std::uint32_t> Kcpsm6NumberValue(std::string_view word);

// A word name'upper or name'lower split into the name and which part; the
// dialect writes them as name/256 and name&$FF.
struct TKcpsm6AddressPart {
    std::string_view Name;
    bool Upper;
};
std::optional<TKcpsm6AddressPart> Kcpsm6AddressPart(std::string_view word);

// The predefined constants: NUL, BEL, ... ST, and the time and date of the
// import as timestamp_hours, ..., datestamp_day. Nothing for another word.
std::optional<int> Kcpsm6PredefinedValue(std::string_view name, const std::tm& now);

// The assembler version that KCPSM6_version$ gives when the import does not
// know which assembler the program was written for.
inline constexpr std::string_view kKcpsm6Version = "v2.70";

// The month names of KCPSM6's date stamps ("14 Nov 2012"), January first.
inline constexpr std::array<std::string_view, 12> kKcpsm6Months{
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The predefined strings: datestamp$ ("14 Nov 2012") and timestamp$
// ("13:31:40") of the given time, KCPSM6_version$ the version. Nothing for
// another word.
std::optional<std::string> Kcpsm6PredefinedString(std::string_view name, const std::tm& time,
                                                  std::string_view version);

// STRING name$, "text": the text between the quotes. TABLE name#, [a, b]
// with 'd or 'b after the bracket: the bytes. The words are those of the
// definition after the directive: the name and the rest of the line as KCPSM6
// splits it with quotes kept together. Nothing when the operands are not in
// that form.
std::optional<std::string> Kcpsm6StringText(const std::vector<std::string>& operands);
std::optional<std::vector<std::uint8_t>> Kcpsm6TableBytes(const std::vector<std::string>& operands);

// A character as an operand of the dialect: 'A' for letters, digits, a blank
// and punctuation the dialect reads inside quotes; $hh for any other.
std::string DialectCharacter(std::uint8_t c);

// The lines of a source with the files it includes put in their place: an
// INCLUDE "file" line (the file found beside the file that includes it)
// becomes a comment that marks where the file begins, the file's lines
// follow, and a comment marks its end. A file that is already being included
// is not included again. "\\" separates folders in an INCLUDE name as "/"
// does; a part of the name that does not exist as written is taken from the
// one entry of its folder that matches it ignoring letter case, and Notes
// tells so. Throws EFileError when an included file cannot be read or a part
// matches several entries (the message names them).
struct TKcpsmSourceLine {
    std::string Text;
    int File; // index into Files; 0 is the source itself
    int Line; // from 1 in that file; a marker carries the INCLUDE line
};
struct TKcpsmFlatSource {
    std::vector<TKcpsmSourceLine> Lines;
    std::vector<std::string> Files;
    // "INCLUDE \"lib\\Uart.psm\" read from /src/lib/uart.psm", one for each
    // INCLUDE whose name was matched ignoring letter case.
    std::vector<std::string> Notes;
};
TKcpsmFlatSource FlattenKcpsmIncludes(const std::vector<std::string>& lines,
                                      const std::string& sourceFile);

} // namespace korvo
