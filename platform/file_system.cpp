#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tavro {
namespace {

class FdSource : public ByteSource {
public:
    FdSource(int fd, bool owned) : m_fd(fd), m_owned(owned) {}
    ~FdSource() override {
        if (m_owned) ::close(m_fd);
    }
    FdSource(const FdSource&) = delete;
    FdSource& operator=(const FdSource&) = delete;

    std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, capacity);
            if (n >= 0) return static_cast<std::size_t>(n);
            if (errno != EINTR) return std::nullopt;
        }
    }

private:
    int m_fd;
    bool m_owned;
};

}  // namespace

std::optional<std::string> ReadAll(ByteSource& source) {
    std::string data;
    constexpr std::size_t kBlock = 1 << 20;
    for (;;) {
        const std::size_t used = data.size();
        data.resize(used + kBlock);
        const std::optional<std::size_t> n = source.Read(data.data() + used, kBlock);
        if (!n) return std::nullopt;
        data.resize(used + *n);
        if (*n == 0) return data;
    }
}

std::unique_ptr<ByteSource> PosixFileSystem::OpenForRead(const std::string& path) {
    if (m_dashIsStandardInput && path == "-") return std::make_unique<FdSource>(0, false);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {  // a folder is no text file
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<FdSource>(fd, true);
}

}  // namespace tavro
