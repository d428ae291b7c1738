// The waveform of korvo sim --vcd, read back and held against the --trace
// of the same run.
#include "cli_support.h"
#include "common/hex_text.h"
#include "data_files.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace korvo::cli::test {
namespace {

// The completed instructions of a --trace output: pc, word, and the
// accesses that followed ("R 01 03").
struct TTraced {
    int Pc;
    long Word;
    std::vector<std::string> Accesses;
};

std::vector<TTraced> TraceOf(const std::string& out) {
    std::vector<TTraced> trace;
    for (const auto& line : Lines(out)) {
        if (line.rfind("I ", 0) == 0)
            trace.push_back({std::stoi(line.substr(2, 3), nullptr, 16),
                             std::stol(line.substr(line.rfind(' ') + 1), nullptr, 16),
                             {}});
        else if (!trace.empty() && line.size() > 2 && (line[0] == 'R' || line[0] == 'W') &&
                 line[1] == ' ')
            trace.back().Accesses.push_back(line);
    }
    return trace;
}

// A small reader of Value Change Dumps: the variables, and the value of
// each at any time.
struct TVcd {
    std::string Timescale;
    std::vector<std::string> Scopes;
    std::map<std::string, std::pair<std::string, int>> Vars;  // id: name, width
    std::vector<std::tuple<long, std::string, long>> Changes; // time, name, value
    long LastTime = 0;

    explicit TVcd(const std::string& text) {
        std::istringstream in(text);
        std::string word;
        long time = 0;
        while (in >> word) {
            if (word == "$timescale") in >> Timescale;
            if (word == "$scope") in >> word >> word, Scopes.push_back(word);
            if (word == "$var") {
                std::string type, id, name;
                int width;
                in >> type >> width >> id >> name;
                Vars[id] = {name, width};
            }
            if (word[0] == '#') LastTime = time = std::stol(word.substr(1));
            bool vector = word[0] == 'b', scalar = word[0] == '0' || word[0] == '1';
            std::string id = vector ? (in >> id, id) : word.substr(1);
            if ((vector || scalar) && Vars.count(id))
                Changes.emplace_back(
                    time, Vars[id].first,
                    std::stol(vector ? word.substr(1) : word.substr(0, 1), nullptr, 2));
        }
    }
    std::map<std::string, long> At(long time) const {
        std::map<std::string, long> values;
        for (const auto& [when, name, value] : Changes)
            if (when <= time) values[name] = value;
        return values;
    }
};

TEST(SimFirmware, WaveformFollowsTheTrace) {
    korvo::test::TScratchFolder f;
    f.Write("io.psm", "sw      DSIN  $01\n"
                      "leds    DSOUT $02\n"
                      "        LOAD  s1, 0\n"
                      "loop:   IN    s0, sw\n"
                      "        ADD   s1, s0\n"
                      "        OUT   s1, leds\n"
                      "        JUMP  loop\n");
    std::string korvo = "cd " + ShellQuote(f.Path()) + " && KORVO_SETTINGS=s.ini " +
                        ShellQuote(KORVO_EXECUTABLE) + " sim --core 3 ";
    auto result = RunShell(korvo + "--trace --in 1=3 --frequency 50 --max-instructions 20 "
                                   "--vcd run.vcd io.psm");
    ASSERT_EQ(result.Status, 0) << result.Err;
    TVcd vcd(korvo::test::ReadBytes(f / "run.vcd"));
    EXPECT_EQ(vcd.Timescale, "1ps");
    EXPECT_EQ(vcd.Scopes, (std::vector<std::string>{"pbt3", "core", "ports"}));
    std::map<std::string, int> widths;
    for (const auto& [id, var] : vcd.Vars)
        widths[var.first] = var.second;
    EXPECT_EQ(widths.size(), 28u);
    for (auto [name, width] : {std::pair("pc", 10),
                               {"instr", 18},
                               {"s0", 8},
                               {"sF", 8},
                               {"zero", 1},
                               {"carry", 1},
                               {"interrupt", 1},
                               {"ie", 1},
                               {"port_01_sw", 8},
                               {"port_01_sw_rd", 1},
                               {"port_02_leds_wr", 1}})
        EXPECT_EQ(widths[name], width) << name;

    // Instruction n runs from n x 2 cycles of 20 ns.
    auto trace = TraceOf(result.Out);
    ASSERT_EQ(trace.size(), 20u);
    for (std::size_t n = 0; n < trace.size(); ++n) {
        auto values = vcd.At(static_cast<long>(n) * 40000);
        SCOPED_TRACE(n);
        EXPECT_EQ(values["pc"], trace[n].Pc);
        EXPECT_EQ(values["instr"], trace[n].Word);
        std::string read = "R 01 " + HexText(values["port_01_sw"], 2);
        std::string write = "W 02 " + HexText(values["port_02_leds"], 2);
        EXPECT_EQ(values["port_01_sw_rd"] == 1, trace[n].Accesses == std::vector{read});
        EXPECT_EQ(values["port_02_leds_wr"] == 1, trace[n].Accesses == std::vector{write});
    }
    auto end = vcd.At(vcd.LastTime);
    EXPECT_EQ(vcd.LastTime, 20 * 40000);
    EXPECT_EQ(end["s1"], 15); // five rounds of adding 3
    EXPECT_EQ(end["port_02_leds_wr"], 0);

    EXPECT_EQ(RunShell(korvo + "--vcd-limit 6 --vcd run.vcd io.psm").Status, 0);
    EXPECT_EQ(TVcd(korvo::test::ReadBytes(f / "run.vcd")).LastTime, 6 * 25000);
}

// The profile's instructions per routine against the trace of the same run:
// each routine lies in its own address range, so the trace's instructions in
// a range are the routine's own (a CALL counts where it stands; the
// interrupt routine is entered at the vector).
TEST(SimFirmware, ProfileAgreesWithTheTrace) {
    korvo::test::TScratchFolder f;
    f.Write("calls.psm", "start:  EINT\n"         // 000
                         "loop:   CALL  outer\n"  // 001
                         "        JUMP  loop\n"   // 002
                         "outer:  CALL  inner\n"  // 003
                         "        CALL  inner\n"  // 004
                         "        RET\n"          // 005
                         "inner:  ADD   s1, 1\n"  // 006
                         "        RET\n"          // 007
                         "isr:    CALL  inner\n"  // 008
                         "        RETI  ENABLE\n" // 009
                         "        ORG   $3FF\n"
                         "vector: JUMP  isr\n"); // 3FF
    auto result = RunShell("cd " + ShellQuote(f.Path()) + " && KORVO_SETTINGS=s.ini " +
                           ShellQuote(KORVO_EXECUTABLE) +
                           " sim --core 3 --trace --max-instructions 500 --interrupt-every 37 "
                           "--profile-folded stacks.txt calls.psm");
    ASSERT_EQ(result.Status, 0) << result.Err;
    auto routine = [](int pc) -> std::string {
        return pc <= 2 ? "start" : pc <= 5 ? "outer" : pc <= 7 ? "inner" : "vector";
    };
    std::map<std::string, long> traced, profiled;
    for (const auto& step : TraceOf(result.Out))
        ++traced[routine(step.Pc == 0x3FF ? 8 : step.Pc)];
    for (const auto& line : Lines(korvo::test::ReadBytes(f / "stacks.txt"))) {
        const auto blank = line.rfind(' '), semicolon = line.rfind(';', blank);
        const auto first = semicolon == std::string::npos ? 0 : semicolon + 1;
        profiled[line.substr(first, blank - first)] += std::stol(line.substr(blank + 1));
    }
    EXPECT_EQ(profiled, traced);
    EXPECT_EQ(traced["start"] + traced["outer"] + traced["inner"] + traced["vector"], 500);
    EXPECT_GT(traced["vector"], 0);
}

} // namespace
} // namespace korvo::cli::test
