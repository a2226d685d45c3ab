#pragma once
// The configuration file "zam1.cfg" and the recent-files file "zam1.cff".
//
// "zam1.cfg" is positional: two heading lines, then every setting as a label line
// (ignored on reading: only the position counts) and its value lines, always in
// the OEM code page and always with "." as decimal separator. Reading stops
// quietly where the file ends; the settings after that keep their defaults.
//
// Texts that name files, folders or programs are held as file-system names
// (UTF-8) in memory and converted to and from the OEM code page at the file;
// every other text stays in the OEM code page.

#include <array>
#include <string>
#include <string_view>

#include "core/config/configuration.h"

namespace zam1 {

class ErrorFlag;
class Prompter;
struct MainTexts;

// What the window system knows about the screen; the graphics size and the input
// window scale depend on it.
struct ScreenInfo {
    int width = 1024;
    int height = 768;
    int dpiY = 96;
    int mainWindowHeight = 0;  // 0: unknown, the input window scale keeps its default
    int mainClientHeight = 0;
};

// The settings of a program without a configuration file.
Configuration defaultConfiguration(const ScreenInfo& screen, const std::string& startDirectory);

// Reads the settings from the bytes of a configuration file into `config`, which
// should hold the defaults.
void parseConfiguration(std::string_view bytes, Configuration& config, const ScreenInfo& screen,
                        const std::string& startDirectory);

// The bytes of the configuration file.
std::string configurationText(const Configuration& config);

// "<folder>/zam1.<extension>".
std::string settingsFilePath(const std::string& folder, std::string_view extension);

// The per-user folder tried when the start directory has no "zam1.cfg":
// $XDG_CONFIG_HOME/korvant, else ~/.config/korvant.
std::string fallbackConfigurationFolder();

// The folder whose "zam1.cfg" is read and written, and where "zam1.cff" lives:
// the start directory when it holds a "zam1.cfg" (a shared set-up), else the
// fallback folder, whether it holds one yet or not.
std::string configurationFolder(const std::string& startDirectory, const std::string& fallbackFolder);

// Reads "zam1.cfg" of `folder` into `config`, starting from the defaults. A
// missing or unreadable file leaves the defaults (with the screen-derived values
// of a program without configuration) and returns false; nothing is shown.
bool readConfiguration(const std::string& folder, Configuration& config, const ScreenInfo& screen,
                       const std::string& startDirectory);

// Writes "zam1.cfg" safely. When it cannot be written the user is told why and
// asked whether to try again; giving up sets the error flag and keeps the old file.
bool writeConfiguration(const std::string& folder, const Configuration& config, const MainTexts& texts,
                        Prompter& prompter, ErrorFlag& error);

// "zam1.cff": "zam1 Session " + data directory, then the four recent files. A
// missing file gives four empty slots.
void readRecentFiles(const std::string& folder, std::array<std::string, 4>& files);
bool writeRecentFiles(const std::string& folder, const std::string& dataDirectory,
                      const std::array<std::string, 4>& files, const MainTexts& texts, Prompter& prompter,
                      ErrorFlag& error);

// "TEMP", then "TMPDIR"; empty when neither is set.
std::string temporaryFolderFromEnvironment();

// The checks after start-up: empty folders are filled in (the temporary folder
// from `environmentTemp`, else the start directory; the DBF, PLT, EDI and data
// folders from the start directory; the PLT folder from the installed share
// folder instead when only that one holds the message file), then every folder is tested and an invalid
// one reported; for an invalid temporary folder the user is asked for another.
void checkDirectories(Configuration& config, const std::string& startDirectory, const std::string& environmentTemp,
                      const MainTexts& texts, Prompter& prompter);

} // namespace zam1
