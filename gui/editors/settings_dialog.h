#pragma once
// The settings dialog (`mi_fileConfig`): every setting of "zam1.cfg" in tabs
// (folders and programs, reports and devices, numbers, drawing and CAD, colours
// and layers, languages), with pickers for folders and programs.

class QWidget;

namespace zam1 {

struct ProgramState;

// Shows the program's settings. OK takes them over for this session (the file is
// not touched); "Speichern" writes what the dialog shows to "zam1.cfg" of the
// configuration folder and leaves the dialog open; "Import" fills the dialog from
// that file again; Abbrechen leaves the settings in memory as they were (a file
// already saved stays saved). True after OK (the caller then applies the
// background colour and the rest to the window). A setting the user did not
// touch goes back into the file exactly as it was read.
bool editSettings(ProgramState& state, QWidget* parent);

} // namespace zam1
