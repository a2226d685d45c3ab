#include "core/platform/scripted_prompter.h"

#include <stdexcept>

#include "core/text/codepage.h"

namespace zam1 {
namespace {

const char* kindName(ScriptedPrompter::Kind k) {
    switch (k) {
    case ScriptedPrompter::Kind::Choice: return "choice";
    case ScriptedPrompter::Kind::Text: return "text";
    case ScriptedPrompter::Kind::YesNo: return "yesno";
    case ScriptedPrompter::Kind::YesNoCancel: return "question";
    case ScriptedPrompter::Kind::OpenFile: return "open";
    case ScriptedPrompter::Kind::SaveFile: return "save";
    case ScriptedPrompter::Kind::Device: return "device";
    case ScriptedPrompter::Kind::Folder: return "folder";
    }
    return "?";
}

} // namespace

ScriptedPrompter::ScriptedPrompter(FailureHandler onFailure) : m_onFailure(std::move(onFailure)) {}

ScriptedPrompter::~ScriptedPrompter() {
    if (!m_finished && m_onFailure) finish();
}

void ScriptedPrompter::fail(const std::string& why) {
    if (m_onFailure) {
        m_onFailure(why);
        return;
    }
    throw std::logic_error(why);
}

void ScriptedPrompter::finish() {
    m_finished = true;
    if (!m_answers.empty()) {
        fail(std::to_string(m_answers.size()) + " scripted answer(s) never asked for, the first a " +
             kindName(m_answers.front().kind));
    }
}

ScriptedPrompter& ScriptedPrompter::choose(int choice) {
    m_answers.push_back({Kind::Choice, false, choice, {}, Answer::Cancel});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::type(std::string_view utf8) {
    m_answers.push_back({Kind::Text, false, 0, std::string(utf8), Answer::Cancel});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::yesNo(bool yes) {
    m_answers.push_back({Kind::YesNo, false, yes ? 1 : 0, {}, Answer::Cancel});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::answer(Answer a) {
    m_answers.push_back({Kind::YesNoCancel, false, 0, {}, a});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::openFile(std::string path) {
    m_answers.push_back({Kind::OpenFile, false, 0, std::move(path), Answer::Cancel});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::saveFile(std::string path) {
    m_answers.push_back({Kind::SaveFile, false, 0, std::move(path), Answer::Cancel});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::device(int device) {
    m_answers.push_back({Kind::Device, false, device, {}, Answer::Cancel});
    return *this;
}

ScriptedPrompter& ScriptedPrompter::folder(std::string path) {
    m_answers.push_back({Kind::Folder, false, 0, std::move(path), Answer::Cancel});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::cancel(Kind kind) {
    m_answers.push_back({kind, true, 0, {}, Answer::Cancel});
    return *this;
}

const ScriptedPrompter::Scripted* ScriptedPrompter::next(Kind kind, const std::string& logEntry) {
    m_log.push_back(logEntry);
    if (m_answers.empty()) {
        fail(std::string("unexpected prompt, no answer left: ") + logEntry);
        return nullptr;
    }
    if (m_answers.front().kind != kind) {
        fail(std::string("unexpected prompt, the script has a ") + kindName(m_answers.front().kind) +
             " next: " + logEntry);
        return nullptr;
    }
    m_current = m_answers.front();
    m_answers.pop_front();
    return m_current.cancelled ? nullptr : &m_current;
}

bool ScriptedPrompter::askChoice(std::string_view prompt, const std::vector<std::string>& lines, int& choice) {
    std::string entry = "choice: " + oemToUtf8(prompt);
    for (const std::string& l : lines) entry += " | " + oemToUtf8(l);
    m_offered.push_back(choice);
    const Scripted* a = next(Kind::Choice, entry);
    if (!a) return false;
    choice = a->number;
    return true;
}

bool ScriptedPrompter::askText(std::string_view prompt, std::size_t maxLength, std::string& text) {
    const Scripted* a = next(Kind::Text, "text: " + oemToUtf8(prompt) + " [" + oemToUtf8(text) + "]");
    if (!a) return false;
    text = storedText(a->text, maxLength);
    return true;
}

bool ScriptedPrompter::askYesNo(std::string_view prompt, bool& value) {
    const Scripted* a = next(Kind::YesNo, "yesno: " + oemToUtf8(prompt));
    if (!a) return false;
    value = a->number != 0;
    return true;
}

Answer ScriptedPrompter::askYesNoCancel(std::string_view question) {
    const Scripted* a = next(Kind::YesNoCancel, "question: " + oemToUtf8(question));
    return a ? a->answer : Answer::Cancel;
}

void ScriptedPrompter::showError(std::string_view text) { m_log.push_back("error: " + oemToUtf8(text)); }
void ScriptedPrompter::showNote(std::string_view text) { m_log.push_back("note: " + oemToUtf8(text)); }
void ScriptedPrompter::showStatus(std::string_view text) { m_log.push_back("status: " + oemToUtf8(text)); }
void ScriptedPrompter::beep() { m_log.emplace_back("beep"); }

bool ScriptedPrompter::chooseOpenFile(const FileChoice& choice, std::string& path) {
    m_folders.push_back(choice.folder);
    const Scripted* a = next(Kind::OpenFile, "open: " + oemToUtf8(choice.title));
    if (!a) return false;
    path = a->text;
    return true;
}

bool ScriptedPrompter::chooseSaveFile(const FileChoice& choice, std::string& path) {
    m_folders.push_back(choice.folder);
    const Scripted* a = next(Kind::SaveFile, "save: " + oemToUtf8(choice.title));
    if (!a) return false;
    path = a->text;
    return true;
}

bool ScriptedPrompter::chooseDevice(std::string_view title, const std::vector<std::string>& devices, int& device) {
    std::string entry = "device: " + oemToUtf8(title);
    for (const std::string& d : devices) entry += " | " + oemToUtf8(d);
    const Scripted* a = next(Kind::Device, entry);
    if (!a) return false;
    device = a->number;
    return true;
}

bool ScriptedPrompter::chooseFolder(std::string_view title, std::string& folder) {
    const Scripted* a = next(Kind::Folder, "folder: " + oemToUtf8(title));
    if (!a) return false;
    folder = a->text;
    return true;
}

std::vector<std::string> ScriptedPrompter::errors() const {
    std::vector<std::string> out;
    for (const std::string& e : m_log) {
        if (e.rfind("error: ", 0) == 0) out.push_back(e.substr(7));
    }
    return out;
}

} // namespace zam1
