// Every instruction of every core, with the flag results of the edge cases.
#include "sim_test_support.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

// Registers used as sX and sY per core, chosen so that the fields sit in
// all their bits (and above register 15 on the PicoBlaze II).
struct TRegisters {
    int X;
    int Y;
};

TRegisters RegistersOf(TCoreKind core) {
    switch (core) {
    case TCoreKind::pbtI: return {0xA, 0x3};
    case TCoreKind::pbtII: return {0x1F, 0x11};
    case TCoreKind::pbt3: return {0xE, 0x7};
    case TCoreKind::pbtC:
    case TCoreKind::none: break;
    }
    return {0x6, 0x3};
}

bool HasTestAndComp(TCoreKind core) {
    return core == TCoreKind::pbt3;
}

struct TAluCase {
    const char* Name;
    TAlu Op;
    int SX;
    int Operand;
    bool CarryIn;
    bool ZeroIn;
    int Result; // sX afterwards
    bool Carry;
    bool Zero;
};

const TAluCase kAluCases[] = {
    {"ADD FF+01 wraps to 00 with carry and zero", TAlu::Add, 0xFF, 0x01, false, false, 0x00, true,
     true},
    {"ADD 10+20", TAlu::Add, 0x10, 0x20, true, true, 0x30, false, false},
    {"ADDC FF+00+C gives 00 with carry and zero", TAlu::Addc, 0xFF, 0x00, true, false, 0x00, true,
     true},
    {"ADDC 10+20+C", TAlu::Addc, 0x10, 0x20, true, false, 0x31, false, false},
    {"ADDC without carry", TAlu::Addc, 0x10, 0x20, false, false, 0x30, false, false},
    {"SUB 00-01 gives FF with carry", TAlu::Sub, 0x00, 0x01, false, true, 0xFF, true, false},
    {"SUB 20-10", TAlu::Sub, 0x20, 0x10, true, true, 0x10, false, false},
    {"SUB equal gives zero", TAlu::Sub, 0x42, 0x42, false, false, 0x00, false, true},
    {"SUBC 00-00-C gives FF with carry", TAlu::Subc, 0x00, 0x00, true, false, 0xFF, true, false},
    {"SUBC 20-10-C", TAlu::Subc, 0x20, 0x10, true, false, 0x0F, false, false},
    {"AND clears the carry", TAlu::And, 0xF0, 0x0F, true, false, 0x00, false, true},
    {"AND keeps common bits", TAlu::And, 0xF3, 0x3F, true, true, 0x33, false, false},
    {"OR clears the carry", TAlu::Or, 0x00, 0x00, true, false, 0x00, false, true},
    {"OR joins bits", TAlu::Or, 0xA0, 0x05, true, true, 0xA5, false, false},
    {"XOR clears the carry", TAlu::Xor, 0xFF, 0x0F, true, true, 0xF0, false, false},
    {"XOR of equal values is zero", TAlu::Xor, 0x5A, 0x5A, false, false, 0x00, false, true},
    {"LOAD leaves both flags set", TAlu::Load, 0x12, 0x34, true, true, 0x34, true, true},
    {"LOAD leaves both flags clear", TAlu::Load, 0x12, 0x00, false, false, 0x00, false, false},
    {"COMP of equal values sets zero, clears carry", TAlu::Comp, 0x10, 0x10, true, false, 0x10,
     false, true},
    {"COMP 10 against 20 sets carry", TAlu::Comp, 0x10, 0x20, false, true, 0x10, true, false},
    {"TEST 03 against FF: even parity", TAlu::Test, 0x03, 0xFF, true, true, 0x03, false, false},
    {"TEST 01 against FF: odd parity", TAlu::Test, 0x01, 0xFF, false, true, 0x01, true, false},
    {"TEST without common bits", TAlu::Test, 0xF0, 0x0F, true, false, 0xF0, false, true},
};

TEST(Instructions, AluWithConstantAndRegisterOnEveryCore) {
    for (TCoreKind core : kAllCores) {
        TRegisters r = RegistersOf(core);
        for (const auto& c : kAluCases) {
            if ((c.Op == TAlu::Test || c.Op == TAlu::Comp) && !HasTestAndComp(core)) continue;
            for (bool registerForm : {false, true}) {
                SCOPED_TRACE(CoreName(core) + ": " + c.Name +
                             (registerForm ? " (register)" : " (constant)"));
                TMachine m(core);
                m.Load({registerForm ? m.Encode.AluReg(c.Op, r.X, r.Y)
                                     : m.Encode.Alu(c.Op, r.X, c.Operand)});
                m.Start();
                m.Sim->SetRegister(r.X, c.SX);
                m.Sim->SetRegister(r.Y, registerForm ? c.Operand : 0x77);
                m.Sim->SetCarryFlag(c.CarryIn);
                m.Sim->SetZeroFlag(c.ZeroIn);
                m.Sim->Step();
                EXPECT_EQ(m.Sim->State(), ssPaused);
                EXPECT_EQ(m.Sim->Register(r.X), c.Result);
                EXPECT_EQ(m.Sim->CarryFlag(), c.Carry);
                EXPECT_EQ(m.Sim->ZeroFlag(), c.Zero);
                EXPECT_EQ(m.Sim->PC(), 1);
                EXPECT_EQ(m.Sim->InstructionCount(), 1);
            }
        }
    }
}

// Values above 255 come only from outside (a typed register, a stimulus
// line); the arithmetic still follows the wide rules.
TEST(Instructions, WideRegisterValues) {
    TMachine m(TCoreKind::pbt3);
    m.Load({m.Encode.AluReg(TAlu::Add, 0, 1), m.Encode.AluReg(TAlu::Load, 2, 1),
            m.Encode.AluReg(TAlu::Or, 3, 4)});
    m.Start();
    m.Sim->SetRegister(0, 0x1F0);
    m.Sim->SetRegister(1, 0x7FFFFFFF);
    m.Sim->SetRegister(4, -1);
    m.Steps(3);
    EXPECT_EQ(m.Sim->Register(0), 0xEF); // 1F0 + 7FFFFFFF, low byte
    EXPECT_EQ(m.Sim->Register(2), 0x7FFFFFFF);
    EXPECT_EQ(m.Sim->Register(3), 0xFF);
    EXPECT_TRUE(m.Sim->CarryFlag()); // -1 is below 0
}

struct TShiftCase {
    TShift Op;
    int SX;
    bool CarryIn;
    int Result;
    bool Carry;
    bool Zero;
};

const TShiftCase kShiftCases[] = {
    {TShift::Sla, 0x80, true, 0x01, true, false},   {TShift::Sla, 0x40, false, 0x80, false, false},
    {TShift::Rl, 0x81, false, 0x03, true, false},   {TShift::Rl, 0x00, true, 0x00, false, true},
    {TShift::Slx, 0x01, true, 0x03, false, false},  {TShift::Slx, 0x80, false, 0x00, true, true},
    {TShift::Sl0, 0x81, false, 0x02, true, false},  {TShift::Sl0, 0x80, true, 0x00, true, true},
    {TShift::Sl1, 0x00, false, 0x01, false, false}, {TShift::Sl1, 0xFF, false, 0xFF, true, false},
    {TShift::Sra, 0x01, false, 0x00, true, true},   {TShift::Sra, 0x02, true, 0x81, false, false},
    {TShift::Srx, 0x81, false, 0xC0, true, false},  {TShift::Srx, 0x02, true, 0x01, false, false},
    {TShift::Rr, 0x01, false, 0x80, true, false},   {TShift::Rr, 0x02, true, 0x01, false, false},
    {TShift::Sr0, 0x01, false, 0x00, true, true},   {TShift::Sr0, 0x80, true, 0x40, false, false},
    {TShift::Sr1, 0x00, true, 0x80, false, false},  {TShift::Sr1, 0x03, false, 0x81, true, false},
};

TEST(Instructions, ShiftAndRotateOnEveryCore) {
    for (TCoreKind core : kAllCores) {
        TRegisters r = RegistersOf(core);
        for (const auto& c : kShiftCases) {
            SCOPED_TRACE(CoreName(core) + ": sub-code " + std::to_string(int(c.Op)) + " of " +
                         std::to_string(c.SX));
            TMachine m(core);
            m.Load({m.Encode.Shift(c.Op, r.X)});
            m.Start();
            m.Sim->SetRegister(r.X, c.SX);
            m.Sim->SetCarryFlag(c.CarryIn);
            m.Sim->SetZeroFlag(!c.Zero);
            m.Sim->Step();
            EXPECT_EQ(m.Sim->Register(r.X), c.Result);
            EXPECT_EQ(m.Sim->CarryFlag(), c.Carry);
            EXPECT_EQ(m.Sim->ZeroFlag(), c.Zero);
        }
    }
}

struct TConditionCase {
    int Condition;
    bool Zero;
    bool Carry;
    bool Taken;
};

const TConditionCase kConditionCases[] = {
    {kAlways, false, false, true}, {kAlways, true, true, true}, {kZ, true, false, true},
    {kZ, false, true, false},      {kNZ, false, false, true},   {kNZ, true, false, false},
    {kC, false, true, true},       {kC, true, false, false},    {kNC, true, false, true},
    {kNC, false, true, false},
};

TEST(Instructions, ConditionalJumpCallAndReturnOnEveryCore) {
    for (TCoreKind core : kAllCores) {
        for (const auto& c : kConditionCases) {
            SCOPED_TRACE(CoreName(core) + ": condition " + std::to_string(c.Condition) +
                         " Z=" + std::to_string(c.Zero) + " C=" + std::to_string(c.Carry));
            {
                TMachine m(core);
                m.Load({m.Encode.Jump(0x25, c.Condition)});
                m.Start();
                m.Sim->SetZeroFlag(c.Zero);
                m.Sim->SetCarryFlag(c.Carry);
                m.Sim->Step();
                EXPECT_EQ(m.Sim->PC(), c.Taken ? 0x25 : 1);
                EXPECT_EQ(m.Sim->InstructionCount(), 1);
            }
            {
                TMachine m(core);
                m.Load({m.Encode.Call(0x30, c.Condition)});
                m.Start();
                m.Sim->SetZeroFlag(c.Zero);
                m.Sim->SetCarryFlag(c.Carry);
                m.Sim->Step();
                EXPECT_EQ(m.Sim->PC(), c.Taken ? 0x30 : 1);
                EXPECT_EQ(m.Sim->SP(), c.Taken ? 1 : 0);
                if (c.Taken) {
                    EXPECT_EQ(m.Sim->StackEntry(0), 1);
                }
            }
            {
                TMachine m(core);
                m.Load({m.Encode.Call(0x10)});
                m.Load({m.Encode.Ret(c.Condition)}, 0x10);
                m.Start();
                m.Sim->Step();
                m.Sim->SetZeroFlag(c.Zero);
                m.Sim->SetCarryFlag(c.Carry);
                m.Sim->Step();
                EXPECT_EQ(m.Sim->PC(), c.Taken ? 1 : 0x11);
                EXPECT_EQ(m.Sim->SP(), c.Taken ? 0 : 1);
            }
        }
    }
}

TEST(Instructions, JumpTargetsUseTheWholeAddressField) {
    for (TCoreKind core : kAllCores) {
        SCOPED_TRACE(CoreName(core));
        TMachine m(core);
        int last = m.Sim->CodeSize() - 1;
        m.Load({m.Encode.Jump(last)});
        m.Load({m.Encode.Jump(0)}, last);
        m.Start();
        m.Sim->Step();
        EXPECT_EQ(m.Sim->PC(), last);
        m.Sim->Step();
        EXPECT_EQ(m.Sim->PC(), 0);
    }
}

TEST(Instructions, InterruptEnableWordsOnEveryCore) {
    for (TCoreKind core : kAllCores) {
        SCOPED_TRACE(CoreName(core));
        TMachine m(core);
        m.Load({m.Encode.Eint(), m.Encode.Dint()});
        m.Start();
        m.Sim->Step();
        EXPECT_TRUE(m.Sim->InterruptEnable());
        m.Sim->Step();
        EXPECT_FALSE(m.Sim->InterruptEnable());
    }
}

TEST(Instructions, ReturnFromInterruptRestoresFlagsAndSetsEnable) {
    for (TCoreKind core : kAllCores) {
        for (bool enable : {false, true}) {
            SCOPED_TRACE(CoreName(core) + (enable ? " ENABLE" : " DISABLE"));
            TMachine m(core);
            m.Load({m.Encode.Call(0x08)});
            m.Load({m.Encode.Reti(enable)}, 0x08);
            m.Start();
            m.Sim->Step();
            m.Sim->SetSavedZero(true);
            m.Sim->SetSavedCarry(false);
            m.Sim->SetZeroFlag(false);
            m.Sim->SetCarryFlag(true);
            m.Sim->SetInterruptEnable(!enable);
            m.Sim->Step();
            EXPECT_EQ(m.Sim->PC(), 1);
            EXPECT_EQ(m.Sim->SP(), 0);
            EXPECT_EQ(m.Sim->InterruptEnable(), enable);
            EXPECT_TRUE(m.Sim->ZeroFlag());
            EXPECT_FALSE(m.Sim->CarryFlag());
        }
    }
}

TEST(Instructions, PicoBlazeIIHasThirtyTwoRegisters) {
    TMachine m(TCoreKind::pbtII);
    m.Load({m.Encode.Alu(TAlu::Load, 0x10, 0x5A), m.Encode.AluReg(TAlu::Load, 0x1F, 0x10),
            m.Encode.Alu(TAlu::Add, 0x1F, 0x01)});
    m.Start();
    m.Sim->SetCarryFlag(true);
    m.Sim->SetZeroFlag(true);
    m.Steps(2);
    EXPECT_EQ(m.Sim->Register(0x1F), 0x5A);
    EXPECT_TRUE(m.Sim->CarryFlag()); // LOAD s1F, s10 left the flags
    EXPECT_TRUE(m.Sim->ZeroFlag());
    m.Sim->Step();
    EXPECT_EQ(m.Sim->Register(0x1F), 0x5B);
    EXPECT_EQ(m.Sim->RegisterCount(), 32);
}

struct TUnsupportedCase {
    TCoreKind Core;
    std::uint32_t Word;
    const char* Why;
};

const TUnsupportedCase kUnsupported[] = {
    {TCoreKind::pbtI, 0xC008, "register ALU operation 8"},
    {TCoreKind::pbtI, 0xC00F, "register ALU operation F"},
    {TCoreKind::pbtI, 0x8000, "RET family with low byte 00"},
    {TCoreKind::pbtI, 0x8480, "RET with condition 1"},
    {TCoreKind::pbtI, 0x8500, "JUMP with condition 1"},
    {TCoreKind::pbtI, 0x8B00, "CALL with condition 2"},
    {TCoreKind::pbtI, 0x8020, "interrupt word 8020"},
    {TCoreKind::pbtI, 0xD001, "shift sub-code 1"},
    {TCoreKind::pbtI, 0x8800, "high byte 88"},
    {TCoreKind::pbtII, 0x26000, "opcode 26000"},
    {TCoreKind::pbtII, 0x2A000, "opcode 2A000"},
    {TCoreKind::pbtII, 0x28003, "shift sub-code 3"},
    {TCoreKind::pbtII, 0x2C002, "RETI sub-code 2"},
    {TCoreKind::pbtII, 0x3C00F, "interrupt sub-code F"},
    {TCoreKind::pbtII, 0x34C00, "JUMP with condition 3"},
    {TCoreKind::pbtII, 0x38000, "opcode 38000"},
    {TCoreKind::pbt3, 0x34400, "JUMP with condition 1"},
    {TCoreKind::pbt3, 0x2A400, "RET with condition 1"},
    {TCoreKind::pbt3, 0x30800, "CALL with condition 2"},
    {TCoreKind::pbt3, 0x20001, "shift sub-code 1"},
    {TCoreKind::pbt3, 0x2000D, "shift sub-code D"},
    {TCoreKind::pbt3, 0x38002, "RETI sub-code 2"},
    {TCoreKind::pbt3, 0x3C005, "interrupt sub-code 5"},
    {TCoreKind::pbt3, 0x02000, "opcode 02"},
    {TCoreKind::pbt3, 0x3F000, "opcode 3F"},
    {TCoreKind::pbtC, 0x9800, "opcode 9800"},
    {TCoreKind::pbtC, 0xC000, "opcode C000 (register-port IN)"},
    {TCoreKind::pbtC, 0xC800, "opcode C800 (register-port OUT)"},
    {TCoreKind::pbtC, 0xE000, "opcode E000"},
    {TCoreKind::pbtC, 0x9100, "RET with condition 1"},
    {TCoreKind::pbtC, 0xD300, "JUMP with condition 3"},
    {TCoreKind::pbtC, 0xA005, "shift sub-code 5"},
    {TCoreKind::pbtC, 0xB002, "interrupt sub-code 2"},
    {TCoreKind::pbtC, 0xF00E, "RETI sub-code E"},
};

TEST(Instructions, UnsupportedWordsHaltWithNothingChanged) {
    for (const auto& c : kUnsupported) {
        SCOPED_TRACE(CoreName(c.Core) + ": " + c.Why);
        TMachine m(c.Core);
        m.Load({c.Word});
        m.Start();
        for (int n = 0; n < 8; ++n)
            m.Sim->SetRegister(n, 0x81);
        m.Sim->SetCarryFlag(true);
        m.Sim->Step();
        EXPECT_EQ(m.Sim->State(), ssHalted);
        EXPECT_EQ(m.Sim->ErrorCode(), seUnsupported);
        EXPECT_EQ(m.Log.Lines, std::vector<std::string>{"?Unsupported instruction encountered."});
        EXPECT_EQ(m.Sim->PC(), 0);
        EXPECT_EQ(m.Sim->InstructionCount(), 0);
        EXPECT_EQ(m.Sim->SP(), 0);
        EXPECT_TRUE(m.Sim->CarryFlag());
        for (int n = 0; n < 8; ++n)
            EXPECT_EQ(m.Sim->Register(n), 0x81);
        EXPECT_TRUE(m.Sim->IsExecuted(0)); // marked although not executed
    }
}

TEST(Instructions, PicoBlazeIWordZeroIsLoadButAnEmptyEntryIsNoInstruction) {
    TMachine m(TCoreKind::pbtI);
    m.Load({0x0000});
    m.Start();
    m.Sim->SetRegister(0, 7);
    m.Sim->Step();
    EXPECT_EQ(m.Sim->Register(0), 0);
    EXPECT_EQ(m.Sim->PC(), 1);
    m.Sim->Step();
    EXPECT_EQ(m.Sim->State(), ssHalted);
    EXPECT_EQ(m.Sim->ErrorCode(), seNoInstruction);
    EXPECT_EQ(m.Log.Lines.back(), "?No instruction found at this address.");
    EXPECT_FALSE(m.Sim->IsExecuted(1));
    EXPECT_EQ(m.Sim->PC(), 1);
}

} // namespace
} // namespace korvo::test
