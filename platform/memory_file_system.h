// Files held in memory, for tests and for callers that already have the bytes.
//
// Besides regular files it holds folders, devices (files that are not regular:
// what is written to them is kept in their contents, appended) and symbolic
// links, and it can be told to fail any operation on a path, so that tests reach
// every failure path of loading, reading and saving.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"

namespace tavro {

class MemoryFileSystem : public FileSystem {
  public:
    enum class Failure {
        kOpen,        // opening the path (for reading or writing) fails
        kRead,        // reading fails once the contents were delivered
        kShortWrite,  // a write to the path, or to a temporary beside it, stops half-way
        kSync,        // syncing the written file fails
        kRename,      // renaming onto the path fails
        kSyncFolder,  // syncing the folder after a rename onto the path fails
    };

    void Add(const std::string& path, std::string contents);
    void AddFolder(const std::string& path) { m_folders.insert(path); }
    void AddDevice(const std::string& path) { m_devices[path]; }
    void AddLink(const std::string& link, const std::string& target) { m_links[link] = target; }
    // A file whose size, as reported when it is opened, is `reportedSize`,
    // as if it had shrunk since.
    void AddShrunk(const std::string& path, std::string contents, std::uint64_t reportedSize);
    void FailOn(Failure failure, const std::string& path) { m_failures.insert({failure, path}); }

    // The contents of a regular file or device; nothing when there is none.
    std::optional<std::string> Contents(const std::string& path) const;
    // Every regular file's path, in order (to see that no temporary file is left).
    std::vector<std::string> FilePaths() const;
    int OpenCount(const std::string& path) const;

    OpenedSource OpenForRead(const std::string& path) override;
    FileKind KindOf(const std::string& path) override;
    std::string FollowLinks(const std::string& path) override;
    OpenedSink CreateTemporaryBeside(const std::string& target) override;
    OpenedSink OpenExistingForWrite(const std::string& path) override;
    std::string Rename(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override { m_files.erase(path); }
    std::string SyncFolderOf(const std::string& path) override;

  private:
    struct File {
        std::string contents;
        std::optional<std::uint64_t> reportedSize;
    };
    bool Fails(Failure failure, const std::string& path) const {
        return m_failures.count({failure, path}) != 0;
    }

    std::map<std::string, File> m_files;
    std::map<std::string, std::string> m_devices;
    std::set<std::string> m_folders;
    std::map<std::string, std::string> m_links;
    std::set<std::pair<Failure, std::string>> m_failures;
    std::map<std::string, int> m_opens;
    int m_temporaries = 0;
};

}  // namespace tavro
