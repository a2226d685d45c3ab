#pragma once
// A channel with scripted ports in a folder of its own, for the report tests;
// and golden files: tests/golden/report/<name>, regenerated with ZAM1_UPDATE_GOLDEN=1,
// a mismatch leaving <name>.actual beside the expected file.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "core/session/program_state.h"
#include "core/lang/language.h"
#include "core/platform/clock.h"
#include "core/platform/desktop.h"
#include "core/report/output_channel.h"
#include "tests/support/golden.h"
#include "tests/support/scripted.h"

namespace zam1::test {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zam1-report-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "no temporary folder";
        m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline bool exists(const std::string& path) { return std::filesystem::exists(path); }

// Compares `actual` with the golden report `name`.
inline void expectGolden(const std::string& name, const std::string& actual) { expectGoldenFile("report", name, actual); }

inline DateTime testTime() { return {2024, 3, 15, 14, 30, 0}; }

struct ReportHarness {
    explicit ReportHarness(int language = kGerman) {
        loadLanguage(texts, language);
        settings.workFolder = folder.path();
        settings.messageFolder = folder.path();
        settings.textProgram = "/bin/true";
        settings.htmlBrowser = "/bin/true";
        heading.fileName = "/projekte/welle.zm1";
        heading.baseName = "welle";
        heading.descriptionLines = {"Titel eins", "Titel zwei", "Titel drei", ""};
    }

    // The channel with the settings as they are now; created on first use.
    OutputChannel& out() {
        if (!channel) {
            channel = std::make_unique<OutputChannel>(settings, texts, OutputPorts{prompter, desktop, clock, error});
            channel->setProject(heading);
        }
        return *channel;
    }

    std::string read(const std::string& name) const { return readBytes(folder.file(name)); }

    TempFolder folder;
    OutputSettings settings;
    ProjectHeading heading;
    LanguageTexts texts;
    TestPrompter prompter;
    HeadlessDesktop desktop;
    FixedClock clock{testTime()};
    ErrorFlag error;
    std::unique_ptr<OutputChannel> channel;
};

} // namespace zam1::test
