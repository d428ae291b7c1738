// korvo sim as a firmware test runner, through the built executable: exit
// port, expected outputs, inputs and interrupts, and the waveform, coverage
// and JSON files checked against the --trace of the same run.
#include "cli_support.h"

#include "common/hex_text.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace korvo::cli::test {
namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

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

const char* const kCountdown = // PicoBlaze II: writes 5, 4, 3, 2, 1 to $02, then 0 to $10
    "leds   DSOUT $02\n"
    "       LOAD  s00, 5\n"
    "loop:  OUT   s00, leds\n"
    "       SUB   s00, 1\n"
    "       JUMP  NZ, loop\n"
    "       OUT   s00, $10\n"
    "stop:  JUMP  stop\n";

TEST(SimFirmware, ExitPortAndExpectedOutputsGiveTheExitStatus) {
    TSimFixture f;
    std::string countdown = f.Source("countdown.psm", kCountdown);
    std::string seven = f.Source("seven.psm", "LOAD s0, 7\nOUT s0, $30\n");
    std::string spin = f.Source("spin.psm", "spin: JUMP spin\n");
    std::string halts = f.Source("halts.psm", "LOAD s0, 1\nRET\n");
    auto expect = [&](const std::string& name, const std::string& text) {
        WriteFile(f.Dir + "/" + name, text);
        return "2=" + f.Dir + "/" + name;
    };
    const std::string e = f.Dir + "/";
    struct TCase {
        std::vector<std::string> Args;
        int Status;
        std::string Out, Err;
    } cases[] = {
        {{"--core", "3", "--exit-port", "0xFF",
          std::string(KORVO_EXAMPLES_DIR) + "/selftest_pbt3.psm"},
         0,
         " Exit: $00 (port $FF)\n",
         ""},
        {{"--core", "I", "--exit-port", "$30", seven}, 5, " Instructions: 2\n", ""},
        {{"--core", "I", "--exit-port", "48", seven}, 5, " Exit: $07 (port $30)\n", ""},
        {{"--core", "CR", "--exit-port", "1", "--max-instructions", "50", spin},
         5,
         " Exit: none (port $01)\n",
         ""},
        {{"--core", "3", "--exit-port", "$20", halts}, 3, "?Stack underflow", ""},
        {{"--core", "II", "--exit-port", "$10", "--expect-out", expect("all", "5\n$04\n3\n2\n1\n"),
          countdown},
         0,
         " Exit: $00",
         ""},
        {{"--core", "II", "--expect-out", expect("differs", "5\n4\n\n7\n"), countdown},
         6,
         " Instructions: 8\n",
         countdown + ":3: error: port $02 got $03, " + e +
             "differs:4 expects $07 after 8 instructions"},
        {{"--core", "II", "--exit-port", "$10", "--expect-out",
          expect("more", "5\n4\n3\n2\n1\n0\n"), countdown},
         6,
         " Exit: $00",
         e + "more:6: error: port $02 expects $00, but the run ended after 17 instructions"},
        {{"--core", "II", "--expect-out", expect("fewer", "5\n4\n"), countdown},
         6,
         "",
         countdown + ":3: error: port $02 got $03, " + e + "fewer expects no more values after 8"},
        {{"--core", "II", "--expect-out", expect("bad", "5\nabc\n"), countdown},
         2,
         "",
         e + "bad:2: abc is not an integer"},
        {{"--core", "II", "--expect-out", "2=" + e + "none.txt", countdown}, 2, "", "none.txt"},
        {{"--core", "II", "--expect-out", "$10=" + e + "all", countdown},
         2,
         "",
         "port $10 is not an output port"},
        {{"--core", "II", "--exit-port", "256", countdown}, 2, "", "--exit-port takes a port"},
        {{"--interrupt-every", "0", spin}, 2, "", "--interrupt-every needs"},
        {{"--vcd-limit", "many", spin}, 2, "", "--vcd-limit needs"},
        {{"--frequency", "0", spin}, 2, "", "--frequency needs"},
        {{"--json", f.Dir, spin}, 2, "", "Cannot create file"},
    };
    for (const auto& c : cases) {
        auto result = f.SimExecutable(c.Args);
        SCOPED_TRACE(c.Args[c.Args.size() - 2] + "\n" + result.Out + result.Err);
        EXPECT_EQ(result.Status, c.Status);
        EXPECT_TRUE(Contains(result.Out, c.Out));
        EXPECT_TRUE(Contains(result.Err, c.Err));
    }
}

TEST(SimFirmware, BidirectionalInputsAndRepeatedInterrupts) {
    TSimFixture f;
    std::string source = f.Source("isr.psm", "io      DSIO  $05\n"
                                             "        IN    s0, io\n"
                                             "        EINT\n"
                                             "main:   JUMP  main\n"
                                             "isr:    ADD   s1, 1\n"
                                             "        RETI  ENABLE\n"
                                             "        ORG   $3FF\n"
                                             "        JUMP  isr\n");
    // Interrupts before instructions 10, 20, ... 90; the limit comes before
    // the one at 100.
    auto result = f.SimExecutable({"--core", "3", "--in", "5=0x2A", "--interrupt-every", "10",
                                   "--max-instructions", "100", source});
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_TRUE(Contains(result.Out, "s0=$2A s1=$09 s2=$00")) << result.Out;
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
    TSimFixture f;
    std::string source = f.Source("io.psm", "sw      DSIN  $01\n"
                                            "leds    DSOUT $02\n"
                                            "        LOAD  s1, 0\n"
                                            "loop:   IN    s0, sw\n"
                                            "        ADD   s1, s0\n"
                                            "        OUT   s1, leds\n"
                                            "        JUMP  loop\n");
    std::string vcdFile = f.Dir + "/run.vcd";
    auto result = f.SimExecutable({"--core", "3", "--trace", "--in", "1=3", "--frequency", "50",
                                   "--max-instructions", "20", "--vcd", vcdFile, source});
    ASSERT_EQ(result.Status, 0) << result.Err;
    TVcd vcd(ReadFile(vcdFile));
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

    auto limited = f.SimExecutable({"--core", "3", "--vcd-limit", "6", "--vcd", vcdFile, source});
    EXPECT_EQ(limited.Status, 0);
    EXPECT_EQ(TVcd(ReadFile(vcdFile)).LastTime, 6 * 25000);
}

TEST(SimFirmware, CoverageCountsWhatTheTraceShows) {
    TSimFixture f;
    std::string source = f.Source("branches.psm", "        LOAD  s00, 3\n"
                                                  "loop:   SUB   s00, 1\n"
                                                  "        JUMP  NZ, loop\n"
                                                  "        CALL  bump\n"
                                                  "done:   JUMP  done\n"
                                                  "never:  LOAD  s01, 1\n"
                                                  "bump:   ADD   s02, 1\n"
                                                  "        RET\n");
    std::string info = f.Dir + "/run.info";
    auto result = f.SimExecutable(
        {"--core", "II", "--trace", "--max-instructions", "20", "--coverage", info, source});
    ASSERT_EQ(result.Status, 0) << result.Err;
    // One instruction per line: address a is on line a + 1.
    std::map<int, int> counts;
    for (const auto& traced : TraceOf(result.Out))
        ++counts[traced.Pc + 1];
    EXPECT_EQ(counts.size(), 7u); // every line but "never"
    std::string expected = "TN:\nSF:" + source + "\n";
    for (int line = 1; line <= 8; ++line)
        expected += "DA:" + std::to_string(line) + "," + std::to_string(counts[line]) + "\n";
    EXPECT_EQ(ReadFile(info), expected + "LF:8\nLH:7\nend_of_record\n");
}

TEST(SimFirmware, EndStateMatchesItsSchema) {
    TSimFixture f;
    std::string countdown = f.Source("countdown.psm", kCountdown);
    WriteFile(f.Dir + "/expected", "5\n4\n");
    const std::vector<std::vector<std::string>> runs = {
        {"--core", "3", "--exit-port", "0xFF",
         std::string(KORVO_EXAMPLES_DIR) + "/selftest_pbt3.psm"},
        {"--core", "3", std::string(KORVO_EXAMPLES_DIR) + "/uart_pbt3.psm"},
        {"--core", "CR", "--max-instructions", "0",
         std::string(KORVO_EXAMPLES_DIR) + "/gcd_pbtc.psm"},
        {"--core", "II", "--expect-out", "2=" + f.Dir + "/expected", countdown},
        {"--core", "I", std::string(KORVO_EXAMPLES_DIR) + "/ram_rom_pbti.psm"},
    };
    const std::string schema =
        std::string(KORVO_EXAMPLES_DIR) + "/../docs/sim-end-state.schema.json";
    std::string summaries;
    for (const auto& run : runs) {
        auto args = run;
        args.insert(args.end() - 1, {"--json", "-"});
        auto result = f.SimExecutable(args);
        WriteFile(f.Dir + "/end.json", result.Out);
        // Standard output holds the JSON alone.
        auto check =
            RunCommandLine("/usr/bin/python3 -c 'import json, jsonschema, sys; "
                           "d = json.load(open(sys.argv[1])); "
                           "jsonschema.validate(d, json.load(open(sys.argv[2]))); "
                           "print(d[\"core\"], d[\"stop_reason\"], d[\"instructions\"])' " +
                           f.Dir + "/end.json " + schema);
        EXPECT_EQ(check.Status, 0) << check.Err << result.Out;
        summaries += check.Out;
    }
    EXPECT_EQ(summaries,
              "3 exit-port 128\n3 limit 1000000\nCR none 0\nII expectation 8\nI limit 1000000\n");
}

} // namespace
} // namespace korvo::cli::test
