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

} // namespace

bool WriteOutputFiles(const TOutputJob& job, const TOutputEnvironment& environment) {
    const TCodeWords words(job);
    ILog& log = environment.Log;
    auto wanted = [&](const std::string& target) {
        return !target.empty() && MayWrite(job, target, log);
    };
    if (wanted(job.CoeFileName)) WriteCoeFile(words, job.CoeFileName, job.CoeWidth, log);
    if (wanted(job.MemFileName)) WriteMemFile(words, job.MemFileName, log);
    if (!job.VhdlSkeleton.empty() &&
        (job.VhdlTarget.empty() || MayWrite(job, job.VhdlTarget, log)) &&
        !WriteVhdlFile(words, job, log))
        return false;
    if (wanted(job.HexFileName)) WriteHexFile(words, job.HexFileName, log);
    // Scan-chain settings that cannot be read end the run before EXEC.
    if (wanted(job.SvfFileName) && !WriteSvfFile(words, job.SvfFileName, environment.Settings, log))
        return true;
    if (!job.ExecCommand.empty() && environment.Launcher)
        StartExecCommand(job.ExecCommand, *environment.Launcher, log);
    return true;
}

} // namespace korvo
