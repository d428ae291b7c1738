#include "assembler/instruction_encoder.h"

#include "assembler/asm_error.h"
#include "assembler/operands.h"
#include "assembler/value_readers.h"
#include "common/assembly_sink.h"

namespace korvo {

namespace {

// One operand's contribution to the word, with the kind it came from.
struct TSlot {
    std::uint32_t Bits = 0;
    TSymbolKind Kind = skNone;
};

class TInstructionEncoder {
public:
    explicit TInstructionEncoder(TLineContext& context)
        : context_(context), scanner_(context.Scanner), encoding_(*context.State.Core),
          core_(encoding_.Core()) {}

    std::string Encode() {
        auto& state = context_.State;
        state.NextAddress = state.Address + 1;
        std::string_view mnemonic = scanner_.GetToken();
        auto symbol = state.Symbols.Find(mnemonic);
        if (!symbol || SymbolKindOf(*symbol) != skMnemonic) Fail("Keyword");
        base_ = static_cast<std::uint32_t>(SymbolValueOf(*symbol));
        auto format = static_cast<TOperandFormat>(SymbolFormatOf(*symbol));
        scanner_.NextNonSpace();
        RequireSupportedOpcode();

        std::uint32_t word = 0;
        if (format == fmtInst) {
            word = InstWord();
        } else {
            ReadOperands(format, mnemonic);
            if (y_.Kind == skCondition || y_.Kind == skInterruptOption)
                Fail("Operand2|Illegal second operand");
            if (y_.Kind == skRegister && x_.Kind != skRegister)
                Fail("Register2|Register not allowed for second operand");
            word = (base_ | x_.Bits | y_.Bits) & core_.WordMask();
        }
        return Store(word);
    }

private:
    void ReadOperands(TOperandFormat format, std::string_view mnemonic) {
        switch (format) {
        case fmtJump:
        case fmtCall: JumpOperands(format); break;
        case fmtReturn:
            if (scanner_.GetTokenKind() == tkIdentifier) {
                TOperand condition = Evaluate(context_);
                if (condition.Kind != skCondition) Fail("Option");
                x_ = {ConditionBits(condition.Value), skCondition};
                base_ = encoding_.ConditionalReturn;
            }
            break;
        case fmtReturnI: {
            TOperand option = Evaluate(context_);
            if (option.Kind != skInterruptOption) Fail("Option|Unknown option for RETI");
            x_ = {option.Value != 0 ? encoding_.RetiEnableBits : encoding_.RetiDisableBits,
                  skInterruptOption};
            break;
        }
        case fmtShift: x_ = RegisterSlot(); break;
        case fmtLogical:
        case fmtArith: AluOperands(); break;
        case fmtPort: PortOperands(mnemonic); break;
        case fmtInterrupt: break;
        case fmtConstantPort: ConstantPortOperands(); break;
        case fmtLoadReturn: LoadReturnOperands(); break;
        case fmtNone:
        case fmtInst: Fail("Keyword"); // INST is encoded before operands are read
        }
    }

    void RequireSupportedOpcode() const {
        if (base_ == encoding_.UnsupportedMarker())
            Fail("Opcode|Unsupported opcode for the currently selected processor core");
    }

    std::uint32_t ConditionBits(std::int32_t condition) const {
        return static_cast<std::uint32_t>(condition) << encoding_.ConditionShift;
    }

    // The code space is the simulator's, which may be smaller than the
    // core's largest (a PicoBlaze 6 built with less program memory).
    std::uint32_t AddressBits(std::int32_t address) const {
        const int lastAddress = context_.Sink.CodeSize() - 1;
        if (address > lastAddress) Fail("Too Far|Jump can not go that far");
        return static_cast<std::uint32_t>(address) & static_cast<std::uint32_t>(lastAddress);
    }

    void JumpOperands(TOperandFormat format) {
        if (RegisterPairFollows()) {
            RegisterPairOperands(format == fmtJump ? inJUMPAT : inCALLAT);
            return;
        }
        TOperand target = Evaluate(context_);
        std::uint32_t bits = AddressBits(target.Value);
        switch (target.Kind) {
        case skRegister: Fail("Address|Register used in the address specification");
        case skInterruptOption: Fail("Address|Bad address specification");
        case skCondition: {
            ExpectComma(context_);
            TOperand address = Evaluate(context_);
            x_ = {ConditionBits(target.Value), skCondition};
            y_ = {AddressBits(address.Value), address.Kind};
            break;
        }
        case skNone:
        case skNumber:
        case skDevice:
        case skExpression:
        case skMnemonic:
        case skDirective:
        case skLabel: x_ = {bits, target.Kind}; break;
        }
    }

    // "(" and a register: the target is the register pair (sX, sY); a "("
    // before anything else opens an address expression.
    bool RegisterPairFollows() {
        if (scanner_.GetTokenKind() != tkOpen) return false;
        const int open = scanner_.GetTokenPos();
        scanner_.NextNonSpace();
        auto symbol = scanner_.GetTokenKind() == tkIdentifier
                          ? context_.State.Symbols.Find(scanner_.GetToken())
                          : std::nullopt;
        if (symbol && SymbolKindOf(*symbol) == skRegister) return true;
        RewindTo(scanner_, open);
        return false;
    }

    // JUMP (sX, sY) and CALL (sX, sY): the address is the low nibble of sX
    // and the eight bits of sY.
    void RegisterPairOperands(TInstructionIndex form) {
        base_ = encoding_.Opcodes[form];
        RequireSupportedOpcode();
        x_ = RegisterSlot();
        ExpectComma(context_);
        y_ = {static_cast<std::uint32_t>(ReadRegister(context_)) << encoding_.YRegisterShift,
              skRegister};
        if (scanner_.GetTokenKind() != tkClose) Fail("Closing|Expected a closing parentesis.");
        scanner_.NextNonSpace();
    }

    TSlot RegisterSlot() {
        return {static_cast<std::uint32_t>(ReadRegister(context_)) << 8, skRegister};
    }

    // The second register of an ALU or port instruction.
    TSlot YRegisterSlot(const TOperand& operand) const {
        CheckRegisterRange(context_, operand.Value, operand.Name);
        return {static_cast<std::uint32_t>(operand.Value) << encoding_.YRegisterShift, skRegister};
    }

    void AluOperands() {
        x_ = RegisterSlot();
        ExpectComma(context_);
        TOperand operand = Evaluate(context_);
        if (operand.Kind == skRegister) {
            y_ = YRegisterSlot(operand);
            base_ |= encoding_.AluRegisterForm;
        } else if (IsRegisterLike(operand.Kind)) {
            Fail("Value|The supplied value is illegal for this instruction");
        } else {
            y_ = {static_cast<std::uint32_t>(operand.Value) & 0xFF, operand.Kind};
            base_ |= encoding_.AluConstantForm;
            if (encoding_.DerivesConstantForm) base_ = (base_ << 12) & 0xF000;
        }
    }

    // OUTK kk, p: the constant in bits 11..4, the constant port (0 to 15) in
    // bits 3..0.
    void ConstantPortOperands() {
        TOperand value = Evaluate(context_);
        if (IsRegisterLike(value.Kind))
            Fail("Value|The supplied value is illegal for this instruction");
        ExpectComma(context_);
        TOperand port = Evaluate(context_);
        if (IsRegisterLike(port.Kind) || port.Value < 0 || port.Value > 15)
            Fail("Value|The supplied port is illegal for this instruction");
        x_ = {(static_cast<std::uint32_t>(value.Value) & 0xFF) << 4, value.Kind};
        y_ = {static_cast<std::uint32_t>(port.Value), port.Kind};
    }

    // RETL sX, kk: a register and a constant.
    void LoadReturnOperands() {
        x_ = RegisterSlot();
        ExpectComma(context_);
        TOperand value = Evaluate(context_);
        if (IsRegisterLike(value.Kind))
            Fail("Value|The supplied value is illegal for this instruction");
        y_ = {static_cast<std::uint32_t>(value.Value) & 0xFF, value.Kind};
    }

    void PortOperands(std::string_view mnemonic) {
        int index = InstructionIndexOf(mnemonic);
        if (index == inFETCH || index == inSTORE) context_.Sink.SetUsesScratchPad(true);
        x_ = RegisterSlot();
        ExpectComma(context_);
        TOperand port = Evaluate(context_);
        if (port.Kind == skRegister) {
            if (!encoding_.HasRegisterPorts)
                Fail("Register2|Register not allowed for second operand");
            y_ = YRegisterSlot(port);
            base_ |= encoding_.PortRegisterForm;
        } else if (IsRegisterLike(port.Kind)) {
            Fail("Value|The supplied port is illegal for this instruction");
        } else {
            y_ = {static_cast<std::uint32_t>(port.Value) & 0xFF, port.Kind};
            base_ |= encoding_.PortConstantForm;
        }
    }

    std::uint32_t InstWord() {
        TOperand value = Evaluate(context_);
        if (IsRegisterLike(value.Kind)) Fail("Syntax|No supported opcode found.");
        if (value.Value > static_cast<std::int32_t>(core_.WordMask()))
            Fail("Opcode|Unsupported opcode for the currently selected processor core");
        return static_cast<std::uint32_t>(value.Value) & core_.WordMask();
    }

    std::string Store(std::uint32_t word) {
        int address = context_.State.Address;
        TCodeEntry entry;
        context_.Sink.GetCodeEntry(address, entry);
        if (entry.HasCode)
            Fail("In Use|Can not place code here; Code ROM location already used by other code");
        ExpectEndOfStatement(context_);
        entry.HasCode = true;
        entry.Word = word;
        entry.Line = context_.LineIndex + 1;
        context_.Sink.SetCodeEntry(address, entry);
        return "$" + HexText(address, core_.AddressDigits()) + " $" +
               HexText(word, core_.WordDigits());
    }

    TLineContext& context_;
    TSynHighLighterIDE& scanner_;
    const TCoreEncoding& encoding_;
    const TCoreDescription& core_;
    std::uint32_t base_ = 0;
    TSlot x_;
    TSlot y_;
};

} // namespace

std::string EncodeInstruction(TLineContext& context) {
    return TInstructionEncoder(context).Encode();
}

} // namespace korvo
