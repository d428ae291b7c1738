#include "assembler/syn_picoblaze.h"

#include "assembler/asm_error.h"
#include "assembler/instruction_set.h"
#include "assembler/keywords.h"
#include "assembler/parser_state.h"
#include "assembler/statements.h"
#include "assembler/value_readers.h"
#include "common/assembly_sink.h"
#include "common/text_file.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>

namespace korvo {

namespace {
std::string Cased(std::string_view text, int (*convert)(int)) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [convert](unsigned char c) { return static_cast<char>(convert(c)); });
    return result;
}

void EnterPredefinedNames(TSymbolTable& symbols, const TCoreEncoding& core) {
    for (int i = 0; i < kInstructionCount; ++i)
        symbols.Add(Cased(KeywordSpelling(MnemonicNames[i]), ::toupper),
                    PackSymbolValue(core.Opcodes[i], skMnemonic, FormatTable[i]));
    for (const TDirective& directive : kDirectives)
        symbols.Add(Cased(directive.Keyword, ::toupper), PackSymbolValue(0, skDirective));
    const TCoreDescription& description = core.Core();
    for (int number = 0; number < description.RegisterNameCount; ++number)
        symbols.Add("S" + HexText(number, description.RegisterDigits),
                    PackSymbolValue(number, skRegister));
    for (const auto& condition : kConditionNames)
        symbols.Add(condition.Name, PackSymbolValue(condition.Value, skCondition));
    for (const auto& option : kInterruptOptionNames)
        symbols.Add(option.Name, PackSymbolValue(option.Value, skInterruptOption));
}
} // namespace

TSynPicoBlaze::TSynPicoBlaze() : state_(std::make_unique<TParserState>()) {
    LoadKeywords();
}

TSynPicoBlaze::~TSynPicoBlaze() = default;

void TSynPicoBlaze::LoadKeywords() {
    ClearKeywords();
    auto add = [this](std::string_view spelling, TTokenKind kind) {
        AddKeyword(Cased(spelling, ::toupper), kind);
        AddKeyword(Cased(spelling, ::tolower), kind);
    };
    for (std::string_view entry : MnemonicNames)
        add(KeywordSpelling(entry), tkOpcode);
    for (const TDirective& directive : kDirectives)
        add(directive.Keyword, tkDirective);
}

void TSynPicoBlaze::SelectCore(TCoreKind coreKind) {
    if (IsCoreKind(coreKind)) state_->Core = &CoreEncoding(coreKind);
}

void TSynPicoBlaze::SetLog(ILog* log) {
    log_ = log;
}

void TSynPicoBlaze::BeginPasses(IAssemblySink& sink) {
    auto& state = *state_;
    state.PortMap.fill(TMemMapItem{});
    auto& directives = state.Directives;
    std::string entity = std::move(directives.VhdlEntity);
    std::string sourceDirectory = std::move(directives.SourceDirectory);
    directives = TDirectiveState{};
    directives.VhdlEntity = std::move(entity);
    directives.SourceDirectory = std::move(sourceDirectory);
    state.Symbols.Clear();
    EnterPredefinedNames(state.Symbols, *state.Core);
    state.RegisterNames.fill(std::string());
    state.Address = 0;
    state.NextAddress = 0;
    state.PendingIncludes.clear();
    state.IncludeDepth = 0;
    sink.SetUsesScratchPad(false);
}

template <typename TPass>
std::string TSynPicoBlaze::ParseLine(std::string_view line, int lineIndex, IAssemblySink& sink,
                                     TPass pass, const char* duplicateMessage) {
    auto& state = *state_;
    if (lineIndex == 0 && state.IncludeDepth == 0) state.Address = 0;
    state.NextAddress = state.Address;
    state.PendingIncludes.clear();
    state.ErrorSubject.clear();
    state.ErrorWord = {};
    TNullLog nullLog;
    TLineContext context{*this, state, sink, log_ ? *log_ : nullLog, lineIndex};
    std::string text;
    try {
        SetLine(line, lineIndex + 1);
        text = pass(context);
    } catch (const EAsmError& error) {
        text = std::string("?") + error.what();
    } catch (const EMapError& error) {
        text = std::string("?") + error.what();
    } catch (const EDuplicateSymbol&) {
        text = duplicateMessage;
    }
    // Files named on a bad line are not read.
    if (!text.empty() && text.front() == '?') {
        state.PendingIncludes.clear();
        TTokenKind kind = GetTokenKind();
        if (kind != tkNull && kind != tkComment && kind != tkSpace)
            state.ErrorWord = {GetTokenPos(), static_cast<int>(GetToken().size())};
    }
    state.Address = state.NextAddress;
    // The scanner must not keep a view of the caller's line.
    SetLine({}, 0);
    return text;
}

std::string TSynPicoBlaze::ParsePass1(std::string_view line, int lineIndex, IAssemblySink& sink) {
    return ParseLine(line, lineIndex, sink, ParseStatementPass1,
                     "?Duplicate|Duplicate identifier found");
}

TPass2Result TSynPicoBlaze::ParsePass2(std::string_view line, int lineIndex, IAssemblySink& sink) {
    TPass2Result result;
    result.Text = ParseLine(line, lineIndex, sink, ParseStatementPass2,
                            "?Duplicate|Duplicate use of a symbol name.");
    result.Error = !result.Text.empty() && result.Text.front() == '?';
    return result;
}

TMemMap TSynPicoBlaze::ParsePass3() {
    TMemMap copy = state_->PortMap;
    state_->Symbols.Clear();
    return copy;
}

const TSymbolTable& TSynPicoBlaze::Symbols() const {
    return state_->Symbols;
}

const std::string& TSynPicoBlaze::RegisterName(int registerNumber) const {
    static const std::string none;
    if (registerNumber < 0 || registerNumber >= kMaxRegisterNameCount) return none;
    return state_->RegisterNames[static_cast<std::size_t>(registerNumber)];
}

const std::array<std::string, kMaxRegisterNameCount>& TSynPicoBlaze::RegisterNames() const {
    return state_->RegisterNames;
}

const TDirectiveState& TSynPicoBlaze::Directives() const {
    return state_->Directives;
}
const TBRAMList& TSynPicoBlaze::BlockRAMs() const {
    return state_->Directives.BlockRAMs;
}

std::vector<std::string> TSynPicoBlaze::TakeIncludedFiles() {
    return std::exchange(state_->PendingIncludes, {});
}

std::string TSynPicoBlaze::EnterIncludedFile(const std::string& fileName) {
    ++state_->IncludeDepth;
    return std::exchange(state_->Directives.SourceDirectory, DirectoryPart(fileName));
}

void TSynPicoBlaze::LeaveIncludedFile(std::string sourceDirectory) {
    --state_->IncludeDepth;
    state_->Directives.SourceDirectory = std::move(sourceDirectory);
}

const std::string& TSynPicoBlaze::ErrorSubject() const {
    return state_->ErrorSubject;
}

TErrorWord TSynPicoBlaze::ErrorWord() const {
    return state_->ErrorWord;
}

void TSynPicoBlaze::SetSourceDirectory(const std::string& directory) {
    state_->Directives.SourceDirectory = directory;
}
const std::string& TSynPicoBlaze::SourceDirectory() const {
    return state_->Directives.SourceDirectory;
}

int TSynPicoBlaze::Address() const {
    return state_->Address;
}
int TSynPicoBlaze::NextAddress() const {
    return state_->NextAddress;
}

} // namespace korvo
