// The seam through which the engine reads files, so that tests can hand it empty,
// huge, truncated and unreadable inputs without touching the disk.
//
// Paths are the platform's own bytes, passed through unchanged.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace tavro {

// An open file, read front to back.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to `capacity` bytes into `buffer`: the number read (0 at the end of
    // the data), or nothing on a read error.
    virtual std::optional<std::size_t> Read(char* buffer, std::size_t capacity) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The open file, or null when it cannot be opened for reading.
    virtual std::unique_ptr<ByteSource> OpenForRead(const std::string& path) = 0;
};

// Reads a source to its end; nothing on a read error.
std::optional<std::string> ReadAll(ByteSource& source);

// The operating system's files. When `dashIsStandardInput` is set, the path "-"
// reads standard input.
class PosixFileSystem : public FileSystem {
public:
    explicit PosixFileSystem(bool dashIsStandardInput = false)
        : m_dashIsStandardInput(dashIsStandardInput) {}
    std::unique_ptr<ByteSource> OpenForRead(const std::string& path) override;

private:
    bool m_dashIsStandardInput;
};

}  // namespace tavro
