// What tavro-mpi asks of the ranks of its job: the few collective operations
// and messages it is built on, over byte strings.
//
// tavro-mpi runs them through MPI (mpi_communicator.h); tests run the ranks as
// threads of one process. Every rank calls the collective operations in the
// same order, as MPI requires. A message that cannot be delivered is not
// reported: the job ends (MPI's own handling of errors).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavro {

class Communicator {
  public:
    virtual ~Communicator() = default;

    virtual int Rank() const = 0;
    virtual int Size() const = 0;
    // How many ranks of the job run on this rank's machine (itself included); collective.
    virtual int RanksOnThisMachine() = 0;

    // `bytes` of rank `root`, on every rank.
    virtual void Broadcast(std::string& bytes, int root) = 0;
    // At rank 0, every rank's `bytes` in rank order; elsewhere nothing.
    virtual std::vector<std::string> Gather(std::string_view bytes) = 0;
    // The largest of the ranks' values, on every rank.
    virtual std::uint64_t MaxOverRanks(std::uint64_t value) = 0;
    // At rank 0, `values` become the sums of the ranks' values, element by
    // element (every rank passes as many); elsewhere they are left as they are.
    virtual void SumAtRankZero(std::vector<std::int64_t>& values) = 0;
    // One round of an exchange among all ranks: `outgoing[d]` goes to rank d
    // and `incoming[s]` receives what rank s sent this rank.
    virtual void Exchange(const std::vector<std::string_view>& outgoing,
                          std::vector<std::string>& incoming) = 0;

    // Sends `bytes` to rank `destination`, returning once it has taken them.
    virtual void Send(int destination, std::string_view bytes) = 0;
    // The next bytes rank `source` sends this rank.
    virtual std::string Receive(int source) = 0;

    // Wall seconds this rank has spent in the operations above so far,
    // waiting for other ranks included.
    virtual double SecondsCommunicating() const = 0;
};

}  // namespace tavro
