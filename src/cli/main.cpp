#include "cli/commands.h"

#include <QCoreApplication>
#include <iostream>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    return korvo::cli::RunKorvo(args, std::cout, std::cerr);
}
