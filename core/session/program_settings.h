#pragma once
// The configuration and the recent files of the running program: read into and
// written from its state, in the folder the start-up settled on.

#include <string>

namespace zam1 {

struct ProgramState;
struct ScreenInfo;

bool readConfiguration(ProgramState& state, const std::string& startDirectory, const ScreenInfo& screen);
bool writeConfiguration(ProgramState& state);
void readRecentFiles(ProgramState& state);
bool writeRecentFiles(ProgramState& state);

// The folder checks of the start-up on the state's configuration.
void checkDirectories(ProgramState& state, const std::string& startDirectory, const std::string& environmentTemp);

} // namespace zam1
