// tavro-mpi as a function, so that tests can run the ranks of a job as
// threads of one process.
//
// Every rank of the job calls RunMpi with its own Communicator of the same
// job. Rank 0's command line is the one that counts (the others receive it);
// only rank 0 writes to `out` and `err`; every rank returns the same exit
// status. Each rank reads the data files and its share of the input files
// through its own `files`.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "mpi/communicator.h"
#include "platform/file_system.h"

namespace tavro {

int RunMpi(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           FileSystem& files, Communicator& ranks);

}  // namespace tavro
