#include "core/platform/file_io.h"
#include "core/platform/path_parts.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace zam1 {
namespace {

thread_local int t_lastError = 0;

// Records `error` as the last one and returns its result number.
int failed(int error, bool reading) {
    t_lastError = error;
    return ioResultFromErrno(error, reading);
}

// A name no file has yet, most likely: process, a running count and chance.
std::string freshName(std::string_view prefix) {
    static std::atomic<unsigned> counter{0};
    static thread_local std::mt19937_64 chance{std::random_device{}()};
    char text[64];
    std::snprintf(text, sizeof text, "%ld-%u-%08llx", static_cast<long>(::getpid()), counter.fetch_add(1),
                  static_cast<unsigned long long>(chance() & 0xffffffffu));
    return std::string(prefix) + text;
}

} // namespace

int lastIoError() { return t_lastError; }

int ioFailure(int error, bool reading) { return failed(error, reading); }

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
    if (fd < 0) return failed(errno, true);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        // A folder, FIFO or device: no file to read (access denied, as before).
        return failed(st.st_mode == 0 ? EIO : S_ISDIR(st.st_mode) ? EISDIR : EACCES, true);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (static_cast<std::size_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return failed(EFBIG, true);
    }
    std::string data;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            return failed(error, true);
        }
        if (n == 0) break;
        data.append(buffer, static_cast<std::size_t>(n));
        if (data.size() > maxBytes) {
            ::close(fd);
            return failed(EFBIG, true);
        }
    }
    ::close(fd);
    bytes = std::move(data);
    return kIoOk;
}

int writeFileSafely(const std::string& path, std::string_view bytes) {
    if (path.empty()) return failed(ENOENT, false);
    const std::string target = writeTarget(path);
    if (target.empty()) return failed(errno, false);
    if (const int refusal = replaceRefusal(target); refusal != 0) return failed(refusal, false);
    std::string temp = folderOf(target) + "/.zam1-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return failed(errno, false);

    // The new file keeps the permissions of the one it replaces.
    struct stat old {};
    const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    int error = 0;
    if (::fchmod(fd, mode) != 0 || !writeAllBytes(fd, bytes) || ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return failed(error, false);
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

std::string writeTarget(const std::string& path) {
    std::string current = path;
    for (int links = 0; links < 40; ++links) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n <= 0) return current;  // gone meanwhile: the rename puts a file there
        link.resize(static_cast<std::size_t>(n));
        current = link.front() == '/' ? link : pathIn(folderOf(current), link);
    }
    errno = ELOOP;
    return {};
}

int replaceRefusal(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return 0;
    if (S_ISDIR(st.st_mode)) return EISDIR;
    if ((st.st_mode & S_IWUSR) == 0) return EACCES;
    if (::access(path.c_str(), W_OK) != 0) return errno == EROFS ? EROFS : EACCES;
    return 0;
}

FileStamp fileStamp(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return {true, static_cast<long long>(st.st_size),
            static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

int folderCreationError(const std::string& folder) {
    const std::string base = folder.empty() ? std::string(".") : folder;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string probe = pathIn(base, freshName(".zam1-probe-"));
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(probe.c_str());
            return 0;
        }
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

} // namespace zam1
