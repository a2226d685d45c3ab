#include "core/messages/message_file.h"
#include "core/text/ascii_case.h"

#include <algorithm>
#include <cstdio>

#include "core/session/program_state.h"
#include "core/platform/file_messages.h"
#include "core/model/records.h"
#include "core/platform/file_io.h"
#include "core/platform/prompter.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
    }
    return lines;
}

std::string oneLine(std::string_view text) {
    std::string line(text);
    std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return line;
}

} // namespace

std::string messageFilePath(const std::string& folder) {
    const std::string name(kMessageFileName);
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool messageKeyMatches(std::string_view line, std::string_view message) {
    return line.substr(0, kMessageKeyLength) == message.substr(0, kMessageKeyLength);
}

MessageFile::MessageFile(const std::string& path) {
    std::string bytes;
    if (readWholeFile(path, bytes) != kIoOk) return;
    m_exists = true;
    m_lines = splitLines(bytes);
}

int MessageFile::findKey(std::string_view message) const {
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (messageKeyMatches(m_lines[i], message)) return static_cast<int>(i);
    }
    return -1;
}

MessageExplanation MessageFile::explain(std::string_view message, std::string_view noDescription) const {
    MessageExplanation e;
    if (!m_exists) return e;
    const int key = findKey(message);
    if (key < 0) {
        e.cause = noDescription;
        return e;
    }
    const auto line = [&](int i) { return i < static_cast<int>(m_lines.size()) ? m_lines[static_cast<std::size_t>(i)] : std::string(); };
    e.cause = line(key + 1);
    e.remedy = line(key + 2);
    return e;
}

std::string messageCause(const MessageList& messages, int index, const std::string& path,
                         std::string_view noDescription) {
    return MessageFile(path).explain(messages.at(index), noDescription).cause;
}

std::string messageRemedy(const MessageList& messages, int index, const std::string& path) {
    return MessageFile(path).explain(messages.at(index), {}).remedy;
}

bool saveExplanation(const std::string& messageFolder, const std::string& tempFolder, std::string_view key,
                     std::string_view cause, std::string_view remedy, Prompter& prompter, ErrorFlag& error) {
    const std::string source = messageFilePath(messageFolder);
    const std::string target = messageFilePath(tempFolder);
    if (asciiUpper(source) == asciiUpper(target)) return false;

    std::string bytes;
    if (readWholeFile(source, bytes) != kIoOk) {
        prompter.showError(openForReadingText(utf8ToOem(source)));
        error.set();
        return false;
    }
    const std::vector<std::string> lines = splitLines(bytes);
    const auto keyLine = std::find_if(lines.begin(), lines.end(),
                                      [&](const std::string& line) { return messageKeyMatches(line, key); });
    if (keyLine == lines.end()) {
        prompter.showError(std::string(key) + " not found.");
        return false;
    }
    std::string out;
    const auto add = [&out](std::string_view line) {
        out.append(line);
        out.append("\r\n");
    };
    for (auto it = lines.begin(); it != keyLine + 1; ++it) add(*it);
    add(oneLine(cause));
    add(oneLine(remedy));
    for (auto it = keyLine + 1; it != lines.end(); ++it) add(*it);

    if (!commitFile(target, out, prompter, error)) return false;
    const bool copied = commitFile(source, out, prompter, error);
    std::remove(target.c_str());
    return copied;
}

} // namespace zam1
