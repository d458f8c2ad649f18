// The seam through which the engine and both programs read and write files, so
// that tests can hand them empty, huge, truncated and unreadable inputs and make
// every write fail, without touching the disk.
//
// Paths are the platform's own bytes, passed through unchanged. A failure comes
// back as a problem text ("No such file or directory"), never as an exception;
// an empty problem text means success.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tavro {

// An open file, read front to back.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Reads up to `capacity` bytes into `buffer`: the number read (0 at the end of
    // the data), or nothing on a read error (Problem() then says why).
    virtual std::optional<std::size_t> Read(char* buffer, std::size_t capacity) = 0;
    // The size the file had when it was opened; nothing for a pipe or terminal.
    virtual std::optional<std::uint64_t> Size() const { return std::nullopt; }
    virtual std::string Problem() const { return {}; }
};

// An open file, written front to back.
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // Writes all of `bytes`; false when not all of them could be written.
    virtual bool Write(std::string_view bytes) = 0;
    // Forces what was written to the storage device.
    virtual bool Sync() = 0;
    virtual bool Close() = 0;
    // Why the last operation failed.
    virtual std::string Problem() const = 0;
};

// What a path names once symbolic links are followed.
enum class FileKind { kMissing, kRegular, kDirectory, kOther };

struct OpenedSource {
    std::unique_ptr<ByteSource> file;  // null when the file could not be opened
    std::string problem;
};

struct OpenedSink {
    std::unique_ptr<ByteSink> file;  // null when the file could not be opened
    std::string path;                // the file's path (a temporary file's own name)
    std::string problem;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Opens a file for reading; a folder cannot be opened.
    virtual OpenedSource OpenForRead(const std::string& path) = 0;
    // Opens a file for reading from byte `offset` on (past the end: nothing to
    // read), so that several readers can share one large file. The source's
    // Size() is still the whole file's. This one reads and drops the first
    // `offset` bytes; a file system that can seek does better.
    virtual OpenedSource OpenForReadFrom(const std::string& path, std::uint64_t offset);
    virtual FileKind KindOf(const std::string& path) = 0;
    // `path` with every symbolic link it ends in followed; `path` itself when it
    // names no link. A link to a file that does not exist gives that file's path.
    virtual std::string FollowLinks(const std::string& path) = 0;
    // A new, empty file in the folder of `target`, with the permissions `target`
    // has (or a new file's usual ones), to be renamed over `target` once written.
    virtual OpenedSink CreateTemporaryBeside(const std::string& target) = 0;
    // Opens an existing file that is not a regular file (a device, a pipe) for writing.
    virtual OpenedSink OpenExistingForWrite(const std::string& path) = 0;
    // Gives `from` the name `to`, replacing what `to` named; a problem text on failure.
    virtual std::string Rename(const std::string& from, const std::string& to) = 0;
    virtual void Remove(const std::string& path) = 0;
    // Forces the folder that holds `path` (its entries, a rename) to the storage device.
    virtual std::string SyncFolderOf(const std::string& path) = 0;
};

// Reads a source to its end; nothing on a read error.
std::optional<std::string> ReadAll(ByteSource& source);

}  // namespace tavro
