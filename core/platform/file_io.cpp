#include "core/platform/file_io.h"
#include "core/platform/path_parts.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace zam1 {
bool writeAllBytes(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

int ioResultFromErrno(int error, bool reading) {
    switch (error) {
    case ENOENT: return reading ? kIoFileNotFound : kIoPathNotFound;
    case ENOTDIR: return kIoPathNotFound;
    case EMFILE: case ENFILE: return kIoTooManyFiles;
    case EACCES: case EPERM: case EISDIR: return kIoAccessDenied;
    case EROFS: return kIoWriteProtected;
    case ENOSPC: case EDQUOT: return kIoDiskFull;
    default: return reading ? kIoReadError : kIoDiskFull;
    }
}

int readWholeFile(const std::string& path, std::string& bytes, std::size_t maxBytes) {
    // Without blocking: a FIFO or a device named as a file must not hang the
    // reader; only regular files are read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return ioResultFromErrno(errno, true);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return st.st_mode != 0 ? kIoAccessDenied : kIoReadError;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (static_cast<std::size_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return kIoReadError;
    }
    std::string data;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int result = ioResultFromErrno(errno, true);
            ::close(fd);
            return result;
        }
        if (n == 0) break;
        data.append(buffer, static_cast<std::size_t>(n));
        if (data.size() > maxBytes) {
            ::close(fd);
            return kIoReadError;
        }
    }
    ::close(fd);
    bytes = std::move(data);
    return kIoOk;
}

int writeFileSafely(const std::string& path, std::string_view bytes) {
    if (path.empty()) return kIoPathNotFound;
    std::string temp = folderOf(path) + "/.zam1-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return ioResultFromErrno(errno, false);

    // The new file keeps the permissions of the one it replaces.
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    int error = 0;
    if (::fchmod(fd, mode) != 0 || !writeAllBytes(fd, bytes) || ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return ioResultFromErrno(error, false);
    }
    return kIoOk;
}

int writeFileSafely(const std::string& path, const std::function<void(std::ostream&)>& produce) {
    std::ostringstream out;
    produce(out);
    return writeFileSafely(path, out.view());
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace zam1
