#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

// korvo lsp [--core C] [--settings FILE]: the language server on standard
// input and output.
int RunLspCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
std::string LspSynopsis();
std::string LspHelp();

} // namespace korvo::cli
