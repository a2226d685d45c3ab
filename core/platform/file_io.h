#pragma once
// Whole-file reading and writing with the program's I/O result numbers. Every
// write goes to a temporary file beside the target, is flushed and synced, and is
// renamed over the target only when all of it was written: a failed save never
// destroys the file that was there.

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace zam1 {

// I/O result numbers as the fixed messages know them.
enum IoResult : int {
    kIoOk = 0,
    kIoFileNotFound = 2,
    kIoPathNotFound = 3,
    kIoTooManyFiles = 4,
    kIoAccessDenied = 5,
    kIoReadError = 100,
    kIoDiskFull = 101,
    kIoBadNumber = 106,
    kIoWriteProtected = 150,
};

// Maps an errno value of a failed read (reading = true) or write to a result number.
int ioResultFromErrno(int error, bool reading);

// Reads the whole file into `bytes`. Files above `maxBytes` are refused with
// kIoReadError before anything is read.
int readWholeFile(const std::string& path, std::string& bytes, std::size_t maxBytes = 256u << 20);

// Writes `bytes` as the new content of `path`, safely (see above).
int writeFileSafely(const std::string& path, std::string_view bytes);

// Lets `produce` write into a stream, then commits what it wrote with writeFileSafely.
int writeFileSafely(const std::string& path, const std::function<void(std::ostream&)>& produce);

bool fileExists(const std::string& path);

// Writes all of `bytes` to an open descriptor, going on after interruptions.
bool writeAllBytes(int fd, std::string_view bytes);

} // namespace zam1
