#pragma once

#include "common/log.h"
#include "output/code_words.h"
#include "output/output_files.h"

#include <string>
#include <vector>

namespace korvo {

// Fills a VHDL template: drops every line up to and including the first one
// that holds "{begin template}" (all of them when there is none), then
// replaces "{name}", "{pico}" and the block-RAM rows "{INIT_rr}",
// "{INITP_rr}" and "{INITn_r}" with the entity name, the core's name and the
// code image. Returns the filled text, each line ended by CR LF.
std::string FillVhdlTemplate(const std::vector<std::string>& templateLines, const TCodeWords& words,
                             const TOutputJob& job);

// Reads the template named by the job and saves the filled text as the job's
// target. A missing template is logged and the result is true; one that
// exists but cannot be read is logged and the result is false.
bool WriteVhdlFile(const TCodeWords& words, const TOutputJob& job, ILog& log);

} // namespace korvo
