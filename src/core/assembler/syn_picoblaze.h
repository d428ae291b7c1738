#pragma once

#include "assembler/asm_error.h"
#include "assembler/directive_state.h"
#include "assembler/lexer.h"
#include "assembler/symbol_table.h"
#include "common/core_kind.h"
#include "common/log.h"
#include "common/mem_map.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

class IAssemblySink;
struct TParserState;

// The result of pass 2 for one line.
struct TPass2Result {
    std::string Text; // listing text, or "?" and the error
    bool Error = false;
};

// The scanner with the instruction and directive keywords loaded, and the
// assembler's line parser on top of it. One object serves as highlighter, as
// the assembler's line parser and as the formatter's scanner; it keeps the
// symbol table, the directive state and the block RAMs of the last assembly.
//
// An assembly run: SelectCore, BeginPasses, ParsePass1 for every line,
// ParsePass2 for every line, ParsePass3. After a line with an INCL
// directive, the lines of each file it named go through the same pass
// between EnterIncludedFile and LeaveIncludedFile.
class TSynPicoBlaze : public TSynHighLighterIDE {
public:
    TSynPicoBlaze();
    ~TSynPicoBlaze() override;
    TSynPicoBlaze(const TSynPicoBlaze&) = delete;
    TSynPicoBlaze& operator=(const TSynPicoBlaze&) = delete;

    static constexpr const char* kLanguageName = "Korvo assembly language";
    static constexpr const char* kDefaultFilter = "Korvo files (*.psm,*.asm)|*.psm;*.asm";

    // Registers every keyword spelling anew: each entry's all-upper then its
    // all-lower spelling, mnemonics first, then directives.
    void LoadKeywords();

    // Takes the instruction tables and limits of a core; a kind of no core
    // leaves the previous selection. Must run before BeginPasses.
    void SelectCore(TCoreKind coreKind);

    // Where block RAM loading reports its failures; a null log discards them.
    void SetLog(ILog* log);

    // Pass 0: empties the port map, the directive state (except VhdlEntity)
    // and the block RAM list, and builds the symbol table of the core.
    void BeginPasses(IAssemblySink& sink);
    // Pass 1 of one line: " " when good, "?" and the error otherwise. A line
    // index of 0 starts the code address at 0.
    std::string ParsePass1(std::string_view line, int lineIndex, IAssemblySink& sink);
    // Pass 2 of one line: the listing text; instruction words go into the
    // sink's code image.
    TPass2Result ParsePass2(std::string_view line, int lineIndex, IAssemblySink& sink);
    // Pass 3: a copy of the port map; the symbol table is freed.
    TMemMap ParsePass3();

    const TSymbolTable& Symbols() const;
    // The name an EQU gave a register, empty when none (or for a number
    // outside the register names of every core).
    const std::string& RegisterName(int registerNumber) const;
    const std::array<std::string, kMaxRegisterNameCount>& RegisterNames() const;

    // The files the last line's INCL directive named, relative names taken
    // in SourceDirectory; empty after a bad line. Emptied by the call.
    std::vector<std::string> TakeIncludedFiles();
    // Lines parsed until LeaveIncludedFile come from the included file: they
    // hold declarations only, relative names in them are taken in its folder,
    // and the code address runs on. Returns the SourceDirectory to restore.
    std::string EnterIncludedFile(const std::string& fileName);
    void LeaveIncludedFile(std::string sourceDirectory);
    // The file that the last line's error is about ("not found"); empty when
    // none.
    const std::string& ErrorSubject() const;
    // The word the last line's error is at.
    TErrorWord ErrorWord() const;

    const TDirectiveState& Directives() const;
    const TBRAMList& BlockRAMs() const;
    void SetSourceDirectory(const std::string& directory);
    const std::string& SourceDirectory() const;

    int Address() const;
    int NextAddress() const;

private:
    // Parses one line in the given pass; errors become "?" result texts.
    template <typename TPass>
    std::string ParseLine(std::string_view line, int lineIndex, IAssemblySink& sink, TPass pass,
                          const char* duplicateMessage);

    std::unique_ptr<TParserState> state_;
    ILog* log_ = nullptr;
};

} // namespace korvo
