#pragma once
// The message file "zam1.err": for each calculation message an entry of three
// lines, the message text as key, the cause and the remedy. A line is the key of
// a message when their first 14 characters agree (shorter texts compare whole);
// any line of the file can be a key, and the first match wins. The file is in the
// stored code page (CP850) and is read with CR LF or LF line ends.

#include <string>
#include <string_view>
#include <vector>

namespace zam1 {

class ErrorFlag;
class MessageList;
class Prompter;

inline constexpr std::string_view kMessageFileName = "zam1.err";
inline constexpr std::size_t kMessageKeyLength = 14;

// The message file in `folder` (the help-picture folder); in the current folder when empty.
std::string messageFilePath(const std::string& folder);

bool messageKeyMatches(std::string_view line, std::string_view message);

struct MessageExplanation {
    std::string cause;
    std::string remedy;
};

// The file read once, for looking up several messages.
class MessageFile {
public:
    explicit MessageFile(const std::string& path);

    bool exists() const { return m_exists; }
    // The line index of the first key matching `message`, or -1.
    int findKey(std::string_view message) const;
    // Cause and remedy of `message`. A message the file does not know gets
    // `noDescription` as its cause; without a file both stay empty.
    MessageExplanation explain(std::string_view message, std::string_view noDescription) const;

private:
    bool m_exists = false;
    std::vector<std::string> m_lines;
};

// The cause and the remedy of entry `index` (0-based) of the message list.
std::string messageCause(const MessageList& messages, int index, const std::string& path,
                         std::string_view noDescription);
std::string messageRemedy(const MessageList& messages, int index, const std::string& path);

// Rewrites the message file of `messageFolder` with a new cause and remedy for
// `key`: the new lines go right after the key line, the old ones stay behind them,
// so the next look-up finds the new ones first. The new file is put together in
// `tempFolder` and then copied over the message file. Line breaks in the cause
// or the remedy become blanks, since each must stay one line of the entry.
// False when nothing was saved (message shown; error flag set on file errors).
bool saveExplanation(const std::string& messageFolder, const std::string& tempFolder, std::string_view key,
                     std::string_view cause, std::string_view remedy, Prompter& prompter, ErrorFlag& error);

} // namespace zam1
