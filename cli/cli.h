// tavro-cli as a function, so that tests can run it in-process.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace tavro {

// Runs tavro-cli with `args` (without the program name): the report or the base-form
// answer goes to `out`, messages to `err`; returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           FileSystem& files, bool showProgress);

}  // namespace tavro
