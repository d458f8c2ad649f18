// tavro-eval as a function, so that tests can run it in-process: loads a lexicon
// and an inflection table as the program does and prints how well they find nouns
// (on form/lemma pairs, on a corpus, or word by word). Words are printed in UTF-8.
//
// Exit status: 0 done, 2 usage error, 1 an input that cannot be read or parsed;
// a data file that cannot be loaded ends with the program's own status (255).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace tavro::eval {

// Runs tavro-eval with `args` (without the program name).
int RunEval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            FileSystem& files);

// The text of --help.
const char* EvalUsage();

}  // namespace tavro::eval
