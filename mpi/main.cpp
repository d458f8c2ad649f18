// tavro-mpi: the cluster front end over the Tavro engine, one process per rank.

#include <mpi.h>

#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "mpi/mpi_communicator.h"
#include "mpi/mpi_run.h"
#include "platform/interrupt_cleanup.h"
#include "platform/posix_file_system.h"
#include "platform/status.h"

namespace {

// A rank that cannot go on at a point where the others cannot learn of it (a
// fault, or memory running out after the counting) ends the whole job, lest
// the other ranks wait for it forever.
[[noreturn]] void AbortJob(int rank, const char* what) {
    std::cerr << "tavro-mpi: rank " << rank << ": " << what << std::endl;
    MPI_Abort(MPI_COMM_WORLD, tavro::kExitFatal);
    std::terminate();
}

}  // namespace

int main(int argc, char** argv) {
    int provided = 0;
    MPI_Init_thread(&argc, &argv, MPI_THREAD_FUNNELED, &provided);
    std::ios::sync_with_stdio(false);
    tavro::InstallInterruptCleanup();
    int status = tavro::kExitFatal;
    tavro::MpiCommunicator ranks;
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        tavro::PosixFileSystem files(/*dashIsStandardInput=*/ranks.Rank() == 0);
        status = tavro::RunMpi(args, std::cout, std::cerr, files, ranks);
    } catch (const std::bad_alloc&) {
        AbortJob(ranks.Rank(), "out of memory");
    } catch (const std::exception& fault) {
        AbortJob(ranks.Rank(), fault.what());
    }
    MPI_Finalize();
    return status;
}
