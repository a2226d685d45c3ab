#pragma once
// The settings dialog (`mi_fileConfig`): every setting of "zam1.cfg" in tabs
// (folders and programs, reports and devices, numbers, drawing and CAD, colours
// and layers, languages), with pickers for folders and programs.

#include <optional>
#include <string>

#include "core/config/configuration.h"

class QWidget;

namespace zam1 {

class ErrorFlag;
struct DialogEnvironment;
struct MainTexts;
struct ProgramState;

// The file the dialog's Speichern writes and Import reads: "zam1.cfg" of
// `directory`; `texts` and `error` serve the writer's messages.
struct SettingsFile {
    std::string directory;
    const MainTexts* texts = nullptr;
    ErrorFlag* error = nullptr;
};
SettingsFile settingsFileOf(ProgramState& state);

// Shows `current` in the configuration's language. OK gives back what the
// dialog shows (a field that does not read is named and the dialog stays open);
// "Speichern" writes it to the file and leaves the dialog open; "Import" fills
// the dialog from the file again; Abbrechen gives nothing (a file already saved
// stays saved). A setting the user did not touch goes back into the file
// exactly as it was read. The buttons run under the command guard: an exception
// becomes the program's message and the dialog stays open.
std::optional<Configuration> editSettings(const Configuration& current, const SettingsFile& file,
                                          const DialogEnvironment& environment);

} // namespace zam1
