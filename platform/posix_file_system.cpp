#include "platform/posix_file_system.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/interrupt_cleanup.h"

namespace tavro {
namespace {

std::string ErrorText(int error) { return std::strerror(error); }

class FdSource : public ByteSource {
  public:
    FdSource(int fd, bool owned, std::optional<std::uint64_t> size)
        : m_fd(fd), m_owned(owned), m_size(size) {}
    ~FdSource() override {
        if (m_owned) ::close(m_fd);
    }
    FdSource(const FdSource&) = delete;
    FdSource& operator=(const FdSource&) = delete;

    std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, capacity);
            if (n >= 0) return static_cast<std::size_t>(n);
            if (errno != EINTR) {
                m_problem = ErrorText(errno);
                return std::nullopt;
            }
        }
    }
    std::optional<std::uint64_t> Size() const override { return m_size; }
    std::string Problem() const override { return m_problem; }

  private:
    int m_fd;
    bool m_owned;
    std::optional<std::uint64_t> m_size;
    std::string m_problem;
};

class FdSink : public ByteSink {
  public:
    FdSink(int fd, bool temporary) : m_fd(fd), m_temporary(temporary) {}
    ~FdSink() override {
        if (m_fd >= 0) ::close(m_fd);
    }
    FdSink(const FdSink&) = delete;
    FdSink& operator=(const FdSink&) = delete;

    bool Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
            if (n < 0) {
                if (errno == EINTR) continue;
                return Fail(errno);
            }
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }
    bool Sync() override {
        // A device or pipe may not take fsync; what was written is out of our hands.
        if (::fsync(m_fd) == 0 || (!m_temporary && (errno == EINVAL || errno == EROFS))) {
            return true;
        }
        return Fail(errno);
    }
    bool Close() override {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 || Fail(errno);
    }
    std::string Problem() const override { return m_problem; }

  private:
    bool Fail(int error) {
        m_problem = ErrorText(error);
        return false;
    }

    int m_fd;
    bool m_temporary;
    std::string m_problem;
};

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The permissions a replacement of `target` gets: those it has, or a new file's.
mode_t ModeFor(const std::string& target) {
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

OpenedSource PosixFileSystem::OpenForRead(const std::string& path) {
    if (m_dashIsStandardInput && path == "-") {
        return {std::make_unique<FdSource>(0, false, std::nullopt), {}};
    }
    return OpenForReadFrom(path, 0);
}

OpenedSource PosixFileSystem::OpenForReadFrom(const std::string& path, std::uint64_t offset) {
    if (m_dashIsStandardInput && path == "-") return FileSystem::OpenForReadFrom(path, offset);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {nullptr, ErrorText(errno)};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return {nullptr, ErrorText(error)};
    }
    if (S_ISDIR(info.st_mode)) {  // a folder is no text file
        ::close(fd);
        return {nullptr, ErrorText(EISDIR)};
    }
    std::optional<std::uint64_t> size;
    if (S_ISREG(info.st_mode)) size = static_cast<std::uint64_t>(info.st_size);
    if (offset != 0 && ::lseek(fd, static_cast<off_t>(offset), SEEK_SET) < 0) {
        const int error = errno;
        ::close(fd);
        return {nullptr, ErrorText(error)};
    }
    return {std::make_unique<FdSource>(fd, true, size), {}};
}

FileKind PosixFileSystem::KindOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return FileKind::kMissing;
    if (S_ISREG(info.st_mode)) return FileKind::kRegular;
    if (S_ISDIR(info.st_mode)) return FileKind::kDirectory;
    return FileKind::kOther;
}

std::string PosixFileSystem::FollowLinks(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {  // as many as the kernel itself follows
        std::vector<char> target(PATH_MAX + 1);
        const ssize_t n = ::readlink(current.c_str(), target.data(), PATH_MAX);
        if (n < 0) return current;  // not a link (or nothing there)
        std::string next(target.data(), static_cast<std::size_t>(n));
        if (next.empty() || next[0] != '/') {
            const std::string folder = FolderOf(current);
            next = (folder == "/" ? "" : folder) + "/" + next;
        }
        current = std::move(next);
    }
    return current;
}

OpenedSink PosixFileSystem::CreateTemporaryBeside(const std::string& target) {
    std::string pattern = target + ".XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return {nullptr, {}, ErrorText(errno)};
    TrackTemporary(pattern);
    ::fchmod(fd, ModeFor(target));
    return {std::make_unique<FdSink>(fd, true), pattern, {}};
}

OpenedSink PosixFileSystem::OpenExistingForWrite(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return {nullptr, path, ErrorText(errno)};
    return {std::make_unique<FdSink>(fd, false), path, {}};
}

std::string PosixFileSystem::Rename(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return ErrorText(errno);
    ForgetTemporary();
    return {};
}

void PosixFileSystem::Remove(const std::string& path) {
    ::unlink(path.c_str());
    ForgetTemporary();
}

std::string PosixFileSystem::SyncFolderOf(const std::string& path) {
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return ErrorText(errno);
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    const int error = errno;
    ::close(fd);
    return synced ? std::string() : ErrorText(error);
}

}  // namespace tavro
