#pragma once
// Whole-file reading and writing with the program's I/O result numbers. Every
// write goes to a temporary file of a fresh name (created exclusively) beside the
// target, is flushed and synced, and is renamed over the target only when all of
// it was written: a failed save never destroys the file that was there. A
// symbolic link is written through: the file it points to gets the new content
// and the link stays. A file without write permission is refused, also for root,
// which the system would let through.

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

// The errno value behind the last failure of the functions below on this thread,
// for the message's second line (0 when none).
int lastIoError();

// Records `error` as the last failure (see lastIoError) and returns its result
// number, for writers that fail before they reach writeFileSafely.
int ioFailure(int error, bool reading);

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

// The file a write to `path` lands in: `path` itself, or for a symbolic link the
// file it points to, link after link (a relative link counts from its own
// folder). Empty with errno ELOOP for a circle of links.
std::string writeTarget(const std::string& path);

// 0 when a file that is there may be written over (or there is none); otherwise
// the errno value that refuses it: EACCES for a file without write permission
// (the owner's write bit is checked too, as root passes access()), EISDIR for a
// folder.
int replaceRefusal(const std::string& path);

// Size and modification time of a file as read or written, to find out later
// whether another program has changed it meanwhile.
struct FileStamp {
    bool exists = false;
    long long size = 0;
    long long modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp fileStamp(const std::string& path);

// 0 when a new file can be created in `folder` ("" the current one): a file of a
// fresh name is created exclusively, without following links, and removed again,
// so no file of the user's is touched. Otherwise the errno value of the failure.
int folderCreationError(const std::string& folder);

// Writes all of `bytes` to an open descriptor, going on after interruptions.
bool writeAllBytes(int fd, std::string_view bytes);

} // namespace zam1
