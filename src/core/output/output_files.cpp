#include "output/output_files.h"

#include "common/text_file.h"
#include "output/code_words.h"
#include "output/coe_writer.h"
#include "output/exec_command.h"
#include "output/hex_writer.h"
#include "output/mem_writer.h"
#include "output/svf_writer.h"
#include "output/vhdl_writer.h"

namespace korvo {

namespace {

// What the target is among the files the run read; empty when none.
std::string InputAt(const TOutputJob& job, const std::string& target) {
    if (!job.SourceFileName.empty() && SameFile(target, job.SourceFileName))
        return "the source file";
    for (const std::string& included : job.IncludedFiles)
        if (SameFile(target, included)) return "an included file";
    if (!job.VhdlSkeleton.empty() && SameFile(target, job.VhdlSkeleton)) return "the VHDL template";
    return {};
}

// An output is never written over one of the run's inputs.
bool MayWrite(const TOutputJob& job, const std::string& target, ILog& log) {
    std::string input = InputAt(job, target);
    if (input.empty()) return true;
    log.Failure("Output not written: \"" + target + "\" is " + input);
    return false;
}

// What the run does after one output.
enum class TOutputStep {
    Next,
    Stop, // the outputs after it and the command are left out; the run succeeded
    Fail, // as Stop, and the run failed
};

using TRequests = TOutputRequests;
using TEnvironment = TOutputEnvironment;

struct TOutputFormat {
    // The request that asks for the output; empty: not asked for.
    std::string TRequests::*AskedBy;
    // The file it writes, never one of the run's inputs; may stay empty.
    std::string TRequests::*Target;
    TOutputStep (*Write)(const TCodeWords& words, const TOutputJob& job, const TEnvironment& env);
};

// The outputs in the order they are written.
const TOutputFormat kOutputFormats[] = {
    {&TRequests::CoeFileName, &TRequests::CoeFileName,
     [](const TCodeWords& words, const TOutputJob& job, const TEnvironment& env) {
         WriteCoeFile(words, job.CoeFileName, job.CoeWidth, env.Log);
         return TOutputStep::Next;
     }},
    {&TRequests::MemFileName, &TRequests::MemFileName,
     [](const TCodeWords& words, const TOutputJob& job, const TEnvironment& env) {
         WriteMemFile(words, job.MemFileName, env.Log);
         return TOutputStep::Next;
     }},
    // A template without a target is read all the same; one that cannot be fails the run.
    {&TRequests::VhdlSkeleton, &TRequests::VhdlTarget,
     [](const TCodeWords& words, const TOutputJob& job, const TEnvironment& env) {
         return WriteVhdlFile(words, job, env.Log) ? TOutputStep::Next : TOutputStep::Fail;
     }},
    {&TRequests::HexFileName, &TRequests::HexFileName,
     [](const TCodeWords& words, const TOutputJob& job, const TEnvironment& env) {
         WriteHexFile(words, job.HexFileName, env.Log);
         return TOutputStep::Next;
     }},
    // Scan-chain settings that cannot be read end the run before EXEC.
    {&TRequests::SvfFileName, &TRequests::SvfFileName,
     [](const TCodeWords& words, const TOutputJob& job, const TEnvironment& env) {
         return WriteSvfFile(words, job.SvfFileName, env.Settings, env.Log) ? TOutputStep::Next
                                                                            : TOutputStep::Stop;
     }},
};

} // namespace

bool WriteOutputFiles(const TOutputJob& job, const TOutputEnvironment& environment) {
    const TCodeWords words(job);
    ILog& log = environment.Log;
    for (const TOutputFormat& format : kOutputFormats) {
        if ((job.*format.AskedBy).empty()) continue;
        const std::string& target = job.*format.Target;
        if (!target.empty() && !MayWrite(job, target, log)) continue;
        switch (format.Write(words, job, environment)) {
        case TOutputStep::Next: break;
        case TOutputStep::Stop: return true;
        case TOutputStep::Fail: return false;
        }
    }
    if (!job.ExecCommand.empty() && environment.Launcher)
        StartExecCommand(job.ExecCommand, *environment.Launcher, log);
    return true;
}

} // namespace korvo
