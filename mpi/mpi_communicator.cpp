#include "mpi/mpi_communicator.h"

#include <mpi.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <numeric>
#include <stdexcept>

namespace tavro {
namespace {

// The tag of the point-to-point messages (the report lists).
constexpr int kListTag = 1;

// Adds the wall time of its scope to a sum.
class Stopwatch {
  public:
    explicit Stopwatch(double& seconds)
        : m_seconds(seconds), m_start(std::chrono::steady_clock::now()) {}
    ~Stopwatch() {
        m_seconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    }
    Stopwatch(const Stopwatch&) = delete;
    Stopwatch& operator=(const Stopwatch&) = delete;

  private:
    double& m_seconds;
    std::chrono::steady_clock::time_point m_start;
};

int MessageSize(std::size_t bytes) {
    if (bytes > static_cast<std::size_t>(INT_MAX)) {
        throw std::length_error("a message of more than INT_MAX bytes");
    }
    return static_cast<int>(bytes);
}

}  // namespace

MpiCommunicator::MpiCommunicator() {
    MPI_Comm_rank(MPI_COMM_WORLD, &m_rank);
    MPI_Comm_size(MPI_COMM_WORLD, &m_size);
}

int MpiCommunicator::RanksOnThisMachine() {
    Stopwatch stopwatch(m_seconds);
    MPI_Comm machine;
    MPI_Comm_split_type(MPI_COMM_WORLD, MPI_COMM_TYPE_SHARED, m_rank, MPI_INFO_NULL, &machine);
    int ranks = 1;
    MPI_Comm_size(machine, &ranks);
    MPI_Comm_free(&machine);
    return ranks;
}

void MpiCommunicator::Broadcast(std::string& bytes, int root) {
    Stopwatch stopwatch(m_seconds);
    std::uint64_t size = bytes.size();
    MPI_Bcast(&size, 1, MPI_UINT64_T, root, MPI_COMM_WORLD);
    bytes.resize(static_cast<std::size_t>(size));
    for (std::size_t sent = 0; sent < bytes.size();) {
        const std::size_t piece = std::min<std::size_t>(bytes.size() - sent, INT_MAX);
        MPI_Bcast(bytes.data() + sent, static_cast<int>(piece), MPI_BYTE, root, MPI_COMM_WORLD);
        sent += piece;
    }
}

std::vector<std::string> MpiCommunicator::Gather(std::string_view bytes) {
    Stopwatch stopwatch(m_seconds);
    const int size = MessageSize(bytes.size());
    std::vector<int> sizes(m_rank == 0 ? static_cast<std::size_t>(m_size) : 0);
    MPI_Gather(&size, 1, MPI_INT, sizes.data(), 1, MPI_INT, 0, MPI_COMM_WORLD);
    std::vector<int> offsets(sizes.size());
    std::size_t total = 0;
    for (std::size_t r = 0; r < sizes.size(); ++r) {
        offsets[r] = MessageSize(total);
        total += static_cast<std::size_t>(sizes[r]);
    }
    std::string all(total, '\0');
    MPI_Gatherv(bytes.data(), size, MPI_BYTE, all.data(), sizes.data(), offsets.data(), MPI_BYTE, 0,
                MPI_COMM_WORLD);
    std::vector<std::string> gathered;
    for (std::size_t r = 0; r < sizes.size(); ++r) {
        gathered.push_back(
            all.substr(static_cast<std::size_t>(offsets[r]), static_cast<std::size_t>(sizes[r])));
    }
    return gathered;
}

std::uint64_t MpiCommunicator::MaxOverRanks(std::uint64_t value) {
    Stopwatch stopwatch(m_seconds);
    std::uint64_t largest = 0;
    MPI_Allreduce(&value, &largest, 1, MPI_UINT64_T, MPI_MAX, MPI_COMM_WORLD);
    return largest;
}

void MpiCommunicator::SumAtRankZero(std::vector<std::int64_t>& values) {
    Stopwatch stopwatch(m_seconds);
    constexpr std::size_t kPiece = std::size_t{1} << 20;  // values summed at a time
    for (std::size_t from = 0; from < values.size(); from += kPiece) {
        const int n = static_cast<int>(std::min(kPiece, values.size() - from));
        if (m_rank == 0) {
            MPI_Reduce(MPI_IN_PLACE, values.data() + from, n, MPI_INT64_T, MPI_SUM, 0,
                       MPI_COMM_WORLD);
        } else {
            MPI_Reduce(values.data() + from, nullptr, n, MPI_INT64_T, MPI_SUM, 0, MPI_COMM_WORLD);
        }
    }
}

void MpiCommunicator::Exchange(const std::vector<std::string_view>& outgoing,
                               std::vector<std::string>& incoming) {
    Stopwatch stopwatch(m_seconds);
    const auto ranks = static_cast<std::size_t>(m_size);
    std::vector<int> sendCounts(ranks), sendOffsets(ranks), receiveCounts(ranks),
        receiveOffsets(ranks);
    m_sendBuffer.clear();
    for (std::size_t d = 0; d < ranks; ++d) {
        sendOffsets[d] = MessageSize(m_sendBuffer.size());
        sendCounts[d] = MessageSize(outgoing[d].size());
        m_sendBuffer.append(outgoing[d]);
    }
    MessageSize(m_sendBuffer.size());
    MPI_Alltoall(sendCounts.data(), 1, MPI_INT, receiveCounts.data(), 1, MPI_INT, MPI_COMM_WORLD);
    std::size_t total = 0;
    for (std::size_t s = 0; s < ranks; ++s) {
        receiveOffsets[s] = MessageSize(total);
        total += static_cast<std::size_t>(receiveCounts[s]);
    }
    m_receiveBuffer.resize(total);
    MPI_Alltoallv(m_sendBuffer.data(), sendCounts.data(), sendOffsets.data(), MPI_BYTE,
                  m_receiveBuffer.data(), receiveCounts.data(), receiveOffsets.data(), MPI_BYTE,
                  MPI_COMM_WORLD);
    incoming.resize(ranks);
    for (std::size_t s = 0; s < ranks; ++s) {
        incoming[s].assign(m_receiveBuffer, static_cast<std::size_t>(receiveOffsets[s]),
                           static_cast<std::size_t>(receiveCounts[s]));
    }
}

void MpiCommunicator::Send(int destination, std::string_view bytes) {
    Stopwatch stopwatch(m_seconds);
    // Synchronous: the sender waits for the receiver, so no rank piles up
    // messages that rank 0 has not asked for yet.
    MPI_Ssend(bytes.data(), MessageSize(bytes.size()), MPI_BYTE, destination, kListTag,
              MPI_COMM_WORLD);
}

std::string MpiCommunicator::Receive(int source) {
    Stopwatch stopwatch(m_seconds);
    MPI_Status status;
    MPI_Probe(source, kListTag, MPI_COMM_WORLD, &status);
    int size = 0;
    MPI_Get_count(&status, MPI_BYTE, &size);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    MPI_Recv(bytes.data(), size, MPI_BYTE, source, kListTag, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
    return bytes;
}

}  // namespace tavro
