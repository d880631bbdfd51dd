#pragma once
// Low-level, unbuffered files with one owner: the descriptor is closed when the File goes.
// Reads and writes go on until the whole count is done, so callers see a short transfer only at
// the end of a file or on an error.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace platform {

class File {
public:
    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Read-only, binary, shared with other readers and writers.
    static File OpenForReading(const QString& path);
    // Write-only, binary; created with ordinary permissions, or emptied if it exists.
    static File CreateOrTruncate(const QString& path);

    bool isOpen() const { return m_fd >= 0; }
    // Bytes read (fewer than `size` only at the end of the file), or -1 on an error.
    std::int64_t read(void* buffer, std::size_t size);
    // As read, at `offset`, leaving the file position where it was.
    std::int64_t readAt(std::uint64_t offset, void* buffer, std::size_t size) const;
    // True when all `size` bytes were written.
    bool writeAll(const void* buffer, std::size_t size);
    std::optional<std::uint64_t> length() const;
    // True when `path` names this very file (by any name or link).
    bool isSameFileAs(const QString& path) const;
    // False when closing reported an error (for a written file: data may be lost).
    bool close();

private:
    explicit File(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

} // namespace platform
