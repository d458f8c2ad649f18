// The ranks of a job started by mpirun or srun (MPI_COMM_WORLD), through MPI.
//
// Construct it between MPI_Init_thread and MPI_Finalize, and call it from the
// thread that initialised MPI only: the counting threads never talk to MPI.
// MPI counts a message's bytes in an int: every message tavro-mpi sends is
// smaller, a byte string larger than that is broadcast in pieces.
#pragma once

#include <string>
#include <vector>

#include "mpi/communicator.h"

namespace tavro {

class MpiCommunicator : public Communicator {
  public:
    MpiCommunicator();

    int Rank() const override { return m_rank; }
    int Size() const override { return m_size; }
    int RanksOnThisMachine() override;
    void Broadcast(std::string& bytes, int root) override;
    std::vector<std::string> Gather(std::string_view bytes) override;
    std::uint64_t MaxOverRanks(std::uint64_t value) override;
    void SumAtRankZero(std::vector<std::int64_t>& values) override;
    void Exchange(const std::vector<std::string_view>& outgoing,
                  std::vector<std::string>& incoming) override;
    void Send(int destination, std::string_view bytes) override;
    std::string Receive(int source) override;
    double SecondsCommunicating() const override { return m_seconds; }

  private:
    int m_rank = 0;
    int m_size = 1;
    double m_seconds = 0;
    // Exchange's buffers, kept from one round to the next.
    std::string m_sendBuffer;
    std::string m_receiveBuffer;
};

}  // namespace tavro
