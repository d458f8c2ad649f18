// Times the block reader alone on the calling thread, beside the floor it works
// against: read() of the same files into one buffer (the kernel's copy from the
// page cache), and memcpy of the same number of bytes between buffers already
// in memory. Prints ns per byte for each, the best of --runs runs, warm cache.
//
// Usage: tavro_reader_bench [--runs N] FILE...
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "corpus/block_reader.h"
#include "corpus/input_reading.h"
#include "platform/posix_file_system.h"

namespace {

using Clock = std::chrono::steady_clock;

// The best wall seconds of `runs` runs of `work`, which returns the bytes it went through.
double Best(int runs, const std::function<std::uint64_t()>& work, std::uint64_t& bytes) {
    double best = 1e300;
    for (int r = 0; r < runs; ++r) {
        const auto start = Clock::now();
        bytes = work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

std::uint64_t ReadBlocks(const std::vector<std::string>& paths) {
    tavro::PosixFileSystem files;
    tavro::BlockReader reader(tavro::kInputBlockSize);
    tavro::BlockBuffer block;
    std::uint64_t bytes = 0;
    for (const std::string& path : paths) {
        tavro::OpenedSource source = files.OpenForRead(path);
        if (!source.file) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), source.problem.c_str());
            std::exit(1);
        }
        reader.Start(*source.file);
        while (reader.Next(block).value_or(false)) bytes += block.size();
    }
    return bytes;
}

std::uint64_t ReadPlain(const std::vector<std::string>& paths) {
    std::vector<char> buffer(tavro::kInputBlockSize);
    std::uint64_t bytes = 0;
    for (const std::string& path : paths) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0) std::exit(1);
        for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;) bytes += n;
        ::close(fd);
    }
    return bytes;
}

std::uint64_t CopyInMemory(std::uint64_t total) {
    std::vector<char> from(tavro::kInputBlockSize, 'a');
    std::vector<char> to(tavro::kInputBlockSize);
    std::uint64_t bytes = 0;
    while (bytes < total) {
        const std::size_t n = std::min<std::uint64_t>(from.size(), total - bytes);
        std::memcpy(to.data(), from.data(), n);
        bytes += n;
        asm volatile("" : : "r"(to.data()) : "memory");  // keep the copy
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 5;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--help") {
            std::puts("Usage: tavro_reader_bench [--runs N] FILE...");
            return 0;
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.empty()) {
        std::fputs("Usage: tavro_reader_bench [--runs N] FILE...\n", stderr);
        return 2;
    }
    std::uint64_t total = 0;
    const double plain = Best(
        runs, [&] { return ReadPlain(paths); }, total);
    std::uint64_t blocks = 0;
    const double reader = Best(
        runs, [&] { return ReadBlocks(paths); }, blocks);
    std::uint64_t copied = 0;
    const double copy = Best(
        runs, [&] { return CopyInMemory(total); }, copied);
    const auto perByte = [&](double seconds) { return seconds * 1e9 / static_cast<double>(total); };
    std::printf("bytes %llu in blocks %llu\n", static_cast<unsigned long long>(total),
                static_cast<unsigned long long>(blocks));
    std::printf("block reader   %.3f ns/byte (%.3f s)\n", perByte(reader), reader);
    std::printf("read()         %.3f ns/byte (%.3f s)\n", perByte(plain), plain);
    std::printf("memcpy         %.3f ns/byte (%.3f s)\n", perByte(copy), copy);
    std::printf("reader over read() %.2fx, over memcpy %.2fx\n", reader / plain, reader / copy);
}
