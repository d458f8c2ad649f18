// tavro-cli: the command-line front end over the Tavro engine.

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    tavro::PosixFileSystem files(/*dashIsStandardInput=*/true);
    return tavro::RunCli(args, std::cout, std::cerr, files, ::isatty(STDERR_FILENO) != 0);
}
