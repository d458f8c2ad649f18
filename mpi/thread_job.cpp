#include "mpi/thread_job.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <thread>

namespace tavro::testing {
namespace {

std::string NumberBytes(std::uint64_t value) {
    return std::string(reinterpret_cast<char*>(&value), sizeof value);
}

std::uint64_t NumberOf(const std::string& bytes) {
    std::uint64_t value = 0;
    std::memcpy(&value, bytes.data(), sizeof value);
    return value;
}

class ThreadRank : public Communicator {
  public:
    ThreadRank(ThreadJob& job, int rank, int size) : m_job(job), m_rank(rank), m_size(size) {}

    int Rank() const override { return m_rank; }
    int Size() const override { return m_size; }
    int RanksOnThisMachine() override {
        m_job.AllToAll(m_rank, std::vector<std::string>(static_cast<std::size_t>(m_size)));
        return m_size;
    }
    void Broadcast(std::string& bytes, int root) override {
        std::vector<std::string> mine(static_cast<std::size_t>(m_size));
        if (m_rank == root) mine.assign(mine.size(), bytes);
        bytes = m_job.AllToAll(m_rank, std::move(mine))[static_cast<std::size_t>(root)];
    }
    std::vector<std::string> Gather(std::string_view bytes) override {
        std::vector<std::string> mine(static_cast<std::size_t>(m_size));
        mine[0] = bytes;
        std::vector<std::string> all = m_job.AllToAll(m_rank, std::move(mine));
        if (m_rank != 0) all.clear();
        return all;
    }
    std::uint64_t MaxOverRanks(std::uint64_t value) override {
        std::uint64_t largest = 0;
        for (const std::string& bytes : m_job.AllToAll(
                 m_rank,
                 std::vector<std::string>(static_cast<std::size_t>(m_size), NumberBytes(value)))) {
            largest = std::max(largest, NumberOf(bytes));
        }
        return largest;
    }
    void SumAtRankZero(std::vector<std::int64_t>& values) override {
        std::vector<std::string> mine(static_cast<std::size_t>(m_size));
        mine[0].assign(reinterpret_cast<const char*>(values.data()),
                       values.size() * sizeof values[0]);
        const std::vector<std::string> all = m_job.AllToAll(m_rank, std::move(mine));
        if (m_rank != 0) return;
        std::fill(values.begin(), values.end(), 0);
        for (const std::string& bytes : all) {
            for (std::size_t i = 0; i < values.size(); ++i) {
                std::int64_t value = 0;
                std::memcpy(&value, bytes.data() + i * sizeof value, sizeof value);
                values[i] += value;
            }
        }
    }
    void Exchange(const std::vector<std::string_view>& outgoing,
                  std::vector<std::string>& incoming) override {
        incoming =
            m_job.AllToAll(m_rank, std::vector<std::string>(outgoing.begin(), outgoing.end()));
    }
    void Send(int destination, std::string_view bytes) override {
        m_job.Send(m_rank, destination, bytes);
    }
    std::string Receive(int source) override { return m_job.Receive(source, m_rank); }
    double SecondsCommunicating() const override { return 0; }

  private:
    ThreadJob& m_job;
    int m_rank;
    int m_size;
};

}  // namespace

ThreadJob::ThreadJob(int ranks)
    : m_ranks(ranks), m_barrier(ranks), m_outgoing(static_cast<std::size_t>(ranks)) {
    for (int c = 0; c < ranks * ranks; ++c) m_channels.push_back(std::make_unique<Channel>());
}

ThreadJob::~ThreadJob() = default;

void ThreadJob::Run(const std::function<void(int, Communicator&)>& rank) {
    std::vector<std::thread> threads;
    for (int r = 0; r < m_ranks; ++r) {
        threads.emplace_back([this, r, &rank] {
            ThreadRank communicator(*this, r, m_ranks);
            try {
                rank(r, communicator);
            } catch (const std::exception& fault) {
                std::fprintf(stderr, "rank %d threw: %s\n", r, fault.what());
                std::abort();
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
}

std::vector<std::string> ThreadJob::AllToAll(int to, std::vector<std::string> mine) {
    m_outgoing[static_cast<std::size_t>(to)] = std::move(mine);
    m_barrier.arrive_and_wait();
    std::vector<std::string> received;
    for (const std::vector<std::string>& from : m_outgoing) {
        received.push_back(from[static_cast<std::size_t>(to)]);
    }
    m_barrier.arrive_and_wait();
    return received;
}

void ThreadJob::Send(int from, int to, std::string_view bytes) {
    Channel& channel = *m_channels[static_cast<std::size_t>(from * m_ranks + to)];
    std::unique_lock lock(channel.mutex);
    channel.queue.emplace_back(bytes);
    const std::size_t mine = ++channel.sent;
    channel.changed.notify_all();
    channel.changed.wait(lock, [&] { return channel.taken >= mine; });
}

std::string ThreadJob::Receive(int from, int to) {
    Channel& channel = *m_channels[static_cast<std::size_t>(from * m_ranks + to)];
    std::unique_lock lock(channel.mutex);
    channel.changed.wait(lock, [&] { return !channel.queue.empty(); });
    std::string bytes = std::move(channel.queue.front());
    channel.queue.pop_front();
    ++channel.taken;
    channel.changed.notify_all();
    return bytes;
}

}  // namespace tavro::testing
