#include <cstdlib>
#include <dirent.h>
#include <unistd.h>

#include "core/lang/language.h"
#include "core/config/config_file.h"
#include "core/platform/file_io.h"
#include "core/platform/install_paths.h"
#include "core/platform/path_parts.h"
#include "core/platform/prompter.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

std::string folderOrCurrent(const std::string& folder) { return folder.empty() ? "." : folder; }

// A folder is good for writing when a scratch file can be created in it. The
// scratch file has a name of its own, so a user's file is never opened or removed.
bool writable(const std::string& folder) { return folderCreationError(folderOrCurrent(folder)) == 0; }

// A folder is good for reading when it can be listed.
bool readable(const std::string& folder) {
    DIR* dir = ::opendir(folderOrCurrent(folder).c_str());
    if (dir == nullptr) return false;
    ::closedir(dir);
    return true;
}

} // namespace

std::string temporaryFolderFromEnvironment() {
    for (const char* name : {"TEMP", "TMPDIR"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return value;
    }
    return {};
}

void checkDirectories(Configuration& config, const std::string& startDirectory, const std::string& environmentTemp,
                      const MainTexts& texts, Prompter& prompter) {
    if (config.tempDirectory.empty()) config.tempDirectory = environmentTemp;
    if (config.tempDirectory.empty()) config.tempDirectory = startDirectory;
    // An installed program keeps its message file and help pictures in its share
    // folder; a start directory that has its own message file (or a configured
    // folder) still comes first.
    if (config.pltDirectory.empty() && ::access(pathIn(startDirectory, "zam1.err").c_str(), R_OK) != 0) {
        const std::string installed = installedDataFolder();
        if (!installed.empty() && ::access(pathIn(installed, "zam1.err").c_str(), R_OK) == 0) {
            config.pltDirectory = installed;
        }
    }
    for (std::string* folder : {&config.dbfDirectory, &config.pltDirectory, &config.ediDirectory,
                                &config.dataDirectory}) {
        if (folder->empty()) *folder = startDirectory;
    }
    const MainTexts& t = texts;
    if (!writable(config.cadDirectory)) prompter.showError(t.invalidCadFolder);
    if (!readable(config.dbfDirectory)) prompter.showError(t.invalidDbfFolder);
    if (!readable(config.pltDirectory)) prompter.showError(t.invalidPltFolder);
    if (!writable(config.tempDirectory)) {
        prompter.showError(t.invalidTempFolder);
        std::string folder = utf8ToOem(config.tempDirectory);
        if (prompter.askText(t.tempFolderTitle, 60, folder)) config.tempDirectory = oemToUtf8(folder.substr(0, 60));
    }
    if (!writable(config.ediDirectory)) prompter.showError(t.invalidEdiFolder);
    if (!writable(config.dataDirectory)) prompter.showError(t.invalidDataFolder);
}

} // namespace zam1
