// Files held in memory, for tests and for callers that already have the bytes.
// A path can also be made to fail on open, or to fail part-way through reading.
#pragma once

#include <map>
#include <string>

#include "platform/file_system.h"

namespace tavro {

class MemoryFileSystem : public FileSystem {
public:
    void Add(const std::string& path, std::string contents) { m_files[path] = {std::move(contents), false}; }
    // The file opens, then reading it fails after its contents were delivered.
    void AddUnreadable(const std::string& path, std::string contents = {}) {
        m_files[path] = {std::move(contents), true};
    }
    void Remove(const std::string& path) { m_files.erase(path); }
    std::unique_ptr<ByteSource> OpenForRead(const std::string& path) override;
    int OpenCount(const std::string& path) const;

private:
    struct File {
        std::string contents;
        bool failsReading;
    };
    std::map<std::string, File> m_files;
    std::map<std::string, int> m_opens;
};

}  // namespace tavro
