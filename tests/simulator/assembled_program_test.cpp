// The assembler and the simulator agree: words the assembler writes are the
// words the instruction tests feed the cores, and an assembled program runs
// to its expected state on each core.
#include "sim_test_support.h"

#include "assembler/driver.h"
#include "assembler/syn_picoblaze.h"

#include <gtest/gtest.h>

#include <cctype>

namespace korvo::test {
namespace {

bool Assemble(TPicoBlazeDebugger& sim, const std::vector<std::string>& lines, TStringListLog& log) {
    TSynPicoBlaze parser;
    TMemorySettingsStore settings;
    TAssemblyContext context{parser, &sim, log, settings, nullptr};
    std::vector<std::string> listing;
    return AssembleSource(context, "prog.psm", lines, listing);
}

// The PicoBlaze II names its registers with two digits (s00 to s1F).
std::string ForCore(TCoreKind core, std::string line) {
    if (core != TCoreKind::pbtII) return line;
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        out += line[i];
        bool registerStart = (line[i] == 's') &&
                             (i == 0 || !std::isalnum((unsigned char)line[i - 1])) &&
                             i + 1 < line.size() && std::isxdigit((unsigned char)line[i + 1]) &&
                             (i + 2 >= line.size() || !std::isalnum((unsigned char)line[i + 2]));
        if (registerStart) out += '0';
    }
    return out;
}

std::uint32_t WordAt(const TPicoBlazeDebugger& sim, int address) {
    TCodeEntry entry;
    sim.GetCodeEntry(address, entry);
    return entry.Word;
}

TEST(AssembledProgram, AssemblerWordsMatchTheTestEncoding) {
    for (TCoreKind core : kAllCores) {
        SCOPED_TRACE(CoreName(core));
        TEncoder e(core);
        std::vector<std::pair<std::string, std::uint32_t>> cases = {
            {"LOAD s3, $5A", e.Alu(TAlu::Load, 3, 0x5A)},
            {"AND s1, s2", e.AluReg(TAlu::And, 1, 2)},
            {"OR s4, $81", e.Alu(TAlu::Or, 4, 0x81)},
            {"XOR s5, s6", e.AluReg(TAlu::Xor, 5, 6)},
            {"ADD s1, 1", e.Alu(TAlu::Add, 1, 1)},
            {"ADDC s2, s7", e.AluReg(TAlu::Addc, 2, 7)},
            {"SUB s6, $0C", e.Alu(TAlu::Sub, 6, 0x0C)},
            {"SUBC s7, s0", e.AluReg(TAlu::Subc, 7, 0)},
            {"SR0 s1", e.Shift(TShift::Sr0, 1)},
            {"SR1 s2", e.Shift(TShift::Sr1, 2)},
            {"SRX s3", e.Shift(TShift::Srx, 3)},
            {"SRA s4", e.Shift(TShift::Sra, 4)},
            {"RR s5", e.Shift(TShift::Rr, 5)},
            {"SL0 s6", e.Shift(TShift::Sl0, 6)},
            {"SL1 s7", e.Shift(TShift::Sl1, 7)},
            {"SLX s0", e.Shift(TShift::Slx, 0)},
            {"SLA s1", e.Shift(TShift::Sla, 1)},
            {"RL s2", e.Shift(TShift::Rl, 2)},
            {"IN s3, $44", e.Port(TPortOp::In, 3, 0x44)},
            {"OUT s4, $45", e.Port(TPortOp::Out, 4, 0x45)},
            {"JUMP $12", e.Jump(0x12)},
            {"JUMP NZ, $13", e.Jump(0x13, kNZ)},
            {"CALL C, $14", e.Call(0x14, kC)},
            {"CALL $15", e.Call(0x15)},
            {"RET", e.Ret()},
            {"RET Z", e.Ret(kZ)},
            {"RET NC", e.Ret(kNC)},
            {"RETI ENABLE", e.Reti(true)},
            {"RETI DISABLE", e.Reti(false)},
            {"EINT", e.Eint()},
            {"DINT", e.Dint()},
        };
        if (core != TCoreKind::pbtC) {
            cases.push_back({"IN s3, (s2)", e.PortReg(TPortOp::In, 3, 2)});
            cases.push_back({"OUT s4, (s5)", e.PortReg(TPortOp::Out, 4, 5)});
        }
        if (core == TCoreKind::pbt3) {
            cases.push_back({"TEST s1, $0F", e.Alu(TAlu::Test, 1, 0x0F)});
            cases.push_back({"COMP s2, s3", e.AluReg(TAlu::Comp, 2, 3)});
            cases.push_back({"FETCH s4, $3F", e.Port(TPortOp::Fetch, 4, 0x3F)});
            cases.push_back({"STORE s5, (s6)", e.PortReg(TPortOp::Store, 5, 6)});
        }
        std::vector<std::string> lines;
        for (const auto& [text, word] : cases)
            lines.push_back(ForCore(core, text));
        auto sim = CreateDebugger(core);
        TStringListLog log;
        ASSERT_TRUE(Assemble(*sim, lines, log)) << ::testing::PrintToString(log.Lines);
        for (std::size_t i = 0; i < cases.size(); ++i)
            EXPECT_EQ(WordAt(*sim, static_cast<int>(i)), cases[i].second) << cases[i].first;
    }
}

// Sums 1..10 in a subroutine called from a loop, takes one interrupt, and
// writes the result to an output port.
std::vector<std::string> SumProgram(TCoreKind core) {
    std::string vector = core == TCoreKind::pbtI || core == TCoreKind::pbtC ? "$FF" : "$3FF";
    std::vector<std::string> lines = {
        "result  DSOUT $10",     "        LOAD s0, 0",
        "        LOAD s1, 10",   "        EINT",
        "loop:   CALL addup",    "        SUB s1, 1",
        "        JUMP NZ, loop", "        OUT s0, result",
        "done:   JUMP done",     "addup:  ADD s0, s1",
        "        RET",           "isr:    ADD s2, 1",
        "        RETI DISABLE",  "        ORG " + vector,
        "        JUMP isr",
    };
    for (auto& line : lines)
        line = ForCore(core, line);
    return lines;
}

TEST(AssembledProgram, RunsToTheSameStateOnEveryCore) {
    for (TCoreKind core : kAllCores) {
        SCOPED_TRACE(CoreName(core));
        TMachine m(core);
        TStringListLog assemblyLog;
        ASSERT_TRUE(Assemble(*m.Sim, SumProgram(core), assemblyLog)) << assemblyLog.Lines.back();
        m.Start();
        m.Sim->SetInstructionLimit(12);
        m.Sim->Run();
        m.Sim->SetInterruptEdge(true);
        m.Sim->SetInstructionLimit(200);
        m.Sim->Run();
        EXPECT_EQ(m.Sim->State(), ssPaused);
        EXPECT_EQ(m.Sim->Register(0), 55);
        EXPECT_EQ(m.Sim->Register(1), 0);
        EXPECT_EQ(m.Sim->Register(2), 1);
        EXPECT_FALSE(m.Sim->InterruptEnable());
        EXPECT_EQ(m.Session->IO().OutputPort(0x10)->Value(), 55);
        EXPECT_EQ(m.Sim->CurrentLine(), 9);
    }
}

} // namespace
} // namespace korvo::test
