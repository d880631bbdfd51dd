#include "platform/io/File.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {
#ifndef O_BINARY
constexpr int O_BINARY = 0; // no newline translation to switch off here
#endif
#ifndef O_CLOEXEC
constexpr int O_CLOEXEC = 0;
#endif

int OpenNative(const QString& path, int flags, mode_t mode = 0) {
    const QByteArray native = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(native.constData(), flags | O_BINARY | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}
} // namespace

File::~File() {
    close();
}

File::File(File&& other) noexcept : m_fd(other.m_fd) {
    other.m_fd = -1;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

File File::OpenForReading(const QString& path) {
    return File(OpenNative(path, O_RDONLY));
}

File File::CreateOrTruncate(const QString& path) {
    return File(OpenNative(path, O_WRONLY | O_CREAT | O_TRUNC, 0666));
}

namespace {
// Reads until `size` bytes have come or the file ends; `readSome(buffer, count, done)` is one
// system read of at most `count` bytes, `done` bytes into the request.
template <typename ReadSome>
std::int64_t ReadFully(void* buffer, std::size_t size, ReadSome readSome) {
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = readSome(bytes + done, size - done, done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
}
} // namespace

std::int64_t File::read(void* buffer, std::size_t size) {
    if (m_fd < 0)
        return -1;
    return ReadFully(buffer, size, [this](char* at, std::size_t count, std::size_t) {
        return ::read(m_fd, at, count);
    });
}

std::int64_t File::readAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    if (m_fd < 0)
        return -1;
    return ReadFully(buffer, size, [this, offset](char* at, std::size_t count, std::size_t done) {
        return ::pread(m_fd, at, count, static_cast<off_t>(offset + done));
    });
}

bool File::writeAll(const void* buffer, std::size_t size) {
    if (m_fd < 0)
        return false;
    const auto* bytes = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t put = ::write(m_fd, bytes + done, size - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (put == 0)
            return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

std::optional<std::uint64_t> File::length() const {
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
}

bool File::isSameFileAs(const QString& path) const {
    struct stat mine {};
    struct stat other {};
    if (m_fd < 0 || ::fstat(m_fd, &mine) != 0)
        return false;
    if (::stat(QFile::encodeName(path).constData(), &other) != 0)
        return false;
    return mine.st_dev == other.st_dev && mine.st_ino == other.st_ino;
}

bool File::close() {
    if (m_fd < 0)
        return true;
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
}

} // namespace platform
