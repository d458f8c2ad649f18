// tavro-cli: the command-line front end over the Tavro engine.

#include <unistd.h>

#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/interrupt_cleanup.h"
#include "platform/posix_file_system.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    tavro::InstallInterruptCleanup();
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        tavro::PosixFileSystem files(/*dashIsStandardInput=*/true);
        return tavro::RunCli(args, std::cout, std::cerr, files, ::isatty(STDERR_FILENO) != 0);
    } catch (const std::bad_alloc&) {
        std::cerr << "tavro-cli: out of memory\n";
        return 255;
    }
}
