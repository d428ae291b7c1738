#include "output/output_files.h"

#include "output/code_words.h"
#include "output/coe_writer.h"
#include "output/exec_command.h"
#include "output/hex_writer.h"
#include "output/mem_writer.h"
#include "output/svf_writer.h"
#include "output/vhdl_writer.h"

namespace korvo {

void WriteOutputFiles(const TOutputJob& job, const TOutputEnvironment& environment) {
    const TCodeWords words(job);
    ILog& log = environment.Log;
    if (!job.CoeFileName.empty()) WriteCoeFile(words, job.CoeFileName, job.CoeWidth, log);
    if (!job.MemFileName.empty()) WriteMemFile(words, job.MemFileName, log);
    if (!job.VhdlSkeleton.empty()) WriteVhdlFile(words, job, log);
    if (!job.HexFileName.empty()) WriteHexFile(words, job.HexFileName, log);
    if (!job.SvfFileName.empty() &&
        !WriteSvfFile(words, job.SvfFileName, environment.Settings, log))
        return;
    if (!job.ExecCommand.empty() && environment.Launcher)
        StartExecCommand(job.ExecCommand, *environment.Launcher, log);
}

} // namespace korvo
