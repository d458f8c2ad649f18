// tavro-eval: scores the bundled data (or any lexicon and table) with the engine.

#include <iostream>
#include <string>
#include <vector>

#include "evaluation/eval_cli.h"
#include "platform/posix_file_system.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    tavro::PosixFileSystem files;
    return tavro::eval::RunEval(args, std::cout, std::cerr, files);
}
