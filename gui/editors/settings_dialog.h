#pragma once
// The settings dialog (`mi_fileConfig`): every setting of "zam1.cfg" in tabs
// (folders and programs, reports and devices, numbers, drawing and CAD, colours
// and layers, languages), with pickers for folders and programs.

class QWidget;

namespace zam1 {

struct ProgramState;

// Shows the program's settings. OK writes "zam1.cfg" of the configuration folder
// and takes the settings over; "Import" fills the dialog from that file again;
// Abbrechen changes nothing. True when the configuration was written (the caller
// then applies the background colour and the rest to the window). A setting the
// user did not touch goes back into the file exactly as it was read.
bool editSettings(ProgramState& state, QWidget* parent);

} // namespace zam1
