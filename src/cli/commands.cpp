#include "cli/commands.h"

#include "cli/arguments.h"
#include "cli/asm_command.h"
#include "cli/check_command.h"
#include "cli/dap_command.h"
#include "cli/lsp_command.h"
#include "cli/sim_command.h"
#include "cli/text_commands.h"
#include "korvo_version.h"

#include <exception>
#include <ostream>

namespace korvo::cli {

const std::vector<TCommand>& Commands() {
    static const std::vector<TCommand> commands{
        {"asm", AsmSynopsis, AsmHelp, RunAsmCommand},
        {"sim", SimSynopsis, SimHelp, RunSimCommand},
        {"format", FormatSynopsis, FormatHelp, RunFormat},
        {"import", ImportSynopsis, ImportHelp, RunImport},
        {"check", CheckSynopsis, CheckHelp, RunCheckCommand},
        {"dap", DapSynopsis, DapHelp, RunDapCommand},
        {"lsp", LspSynopsis, LspHelp, RunLspCommand},
    };
    return commands;
}

namespace {
constexpr std::size_t kHelpWidth = 80;

// lead + synopsis wrapped at kHelpWidth columns: the lines after the first
// start under its second word; a bracketed option is never split.
std::string WrappedSynopsis(const std::string& lead, const std::string& synopsis) {
    std::vector<std::string> words{""};
    int depth = 0;
    for (char c : synopsis) {
        if (c == ' ' && depth == 0) {
            words.emplace_back();
            continue;
        }
        depth += c == '[' ? 1 : c == ']' ? -1 : 0;
        words.back() += c;
    }
    const std::string indent(lead.size() + words.front().size() + 1, ' ');
    std::string text = lead + words.front();
    std::size_t column = text.size();
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (column + 1 + words[i].size() > kHelpWidth) {
            text += "\n" + indent + words[i];
            column = indent.size() + words[i].size();
        } else {
            text += " " + words[i];
            column += 1 + words[i].size();
        }
    }
    return text + "\n";
}

void PrintUsage(std::ostream& stream) {
    stream << "usage: korvo COMMAND [OPTIONS] FILE\n\ncommands:\n";
    for (const auto& command : Commands())
        stream << WrappedSynopsis("  ", command.Synopsis());
    stream << "\nasm and sim also run the command that an EXEC directive of the source names,\n"
              "unless --no-exec is given.\n"
              "korvo COMMAND --help describes a command, its options and exit statuses;\n"
              "korvo --version prints the version.\n"
              "Exit status 70 of any command is a fault of korvo itself, described on\n"
              "standard error.\n";
}

// "-h" or "--help" among a command's options.
bool AsksForHelp(const std::vector<std::string>& args) {
    for (std::size_t i = 1; i < args.size() && args[i] != "--"; ++i)
        if (args[i] == "--help" || args[i] == "-h") return true;
    return false;
}
} // namespace

int RunKorvo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        PrintUsage(args.empty() ? err : out);
        return args.empty() ? kExitUsage : kExitSuccess;
    }
    if (args[0] == "--version") {
        out << kApplicationTitle << " " << kProductVersion << "\n";
        return kExitSuccess;
    }
    for (const auto& command : Commands()) {
        if (args[0] != command.Name) continue;
        if (AsksForHelp(args)) {
            out << WrappedSynopsis("usage: korvo ", command.Synopsis()) << "\n" << command.Help();
            return kExitSuccess;
        }
        try {
            return command.Run(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
        } catch (const std::exception& fault) {
            out.flush();
            err << "korvo " << command.Name << ": internal error: " << fault.what()
                << "; please report it with the input that caused it\n";
            return kExitInternal;
        }
    }
    err << "korvo: unknown command '" << args[0] << "'; try korvo --help\n";
    return kExitUsage;
}

} // namespace korvo::cli
