// The operating system's files, through POSIX calls.
//
// A temporary file made for a replacement is tracked for removal on SIGINT and
// SIGTERM (interrupt_cleanup.h) from its creation until it is renamed or removed.
#pragma once

#include "platform/file_system.h"

namespace tavro {

class PosixFileSystem : public FileSystem {
  public:
    // When `dashIsStandardInput` is set, the path "-" reads standard input.
    explicit PosixFileSystem(bool dashIsStandardInput = false)
        : m_dashIsStandardInput(dashIsStandardInput) {}

    OpenedSource OpenForRead(const std::string& path) override;
    // Seeks, so the bytes before `offset` are not read; a pipe cannot be opened so.
    OpenedSource OpenForReadFrom(const std::string& path, std::uint64_t offset) override;
    FileKind KindOf(const std::string& path) override;
    std::string FollowLinks(const std::string& path) override;
    OpenedSink CreateTemporaryBeside(const std::string& target) override;
    OpenedSink OpenExistingForWrite(const std::string& path) override;
    std::string Rename(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override;
    std::string SyncFolderOf(const std::string& path) override;

  private:
    bool m_dashIsStandardInput;
};

}  // namespace tavro
