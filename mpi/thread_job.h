// For tests: a job whose ranks are threads of one process, each with a
// Communicator of its own. Collective operations meet at a barrier, as MPI's
// do; Send returns once the receiver has taken the message (MPI_Ssend). A
// rank that throws ends the process, since the others would wait for it
// forever.
#pragma once

#include <barrier>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "mpi/communicator.h"

namespace tavro::testing {

class ThreadJob {
  public:
    explicit ThreadJob(int ranks);
    ~ThreadJob();

    // Runs `rank(r, communicator)` for every rank r on a thread of its own and
    // waits for all of them.
    void Run(const std::function<void(int, Communicator&)>& rank);

    // The bytes rank `to` got from every rank (`mine[d]` went to rank d); what
    // the collective operations are built on.
    std::vector<std::string> AllToAll(int to, std::vector<std::string> mine);
    void Send(int from, int to, std::string_view bytes);
    std::string Receive(int from, int to);

  private:
    struct Channel {  // the messages from one rank to another
        std::mutex mutex;
        std::condition_variable changed;
        std::deque<std::string> queue;
        std::size_t sent = 0;
        std::size_t taken = 0;
    };

    int m_ranks;
    std::barrier<> m_barrier;
    std::vector<std::vector<std::string>> m_outgoing;  // per rank, what it sends each rank
    std::vector<std::unique_ptr<Channel>> m_channels;  // from * ranks + to
};

}  // namespace tavro::testing
