#pragma once
// The change listing of a project: who made the drawing, which drawings it
// replaces, and every change record with its index, date, editor and text.

namespace zam1 {

class OutputChannel;
struct Documentation;

// The listing on the screen device, or on a device the user chooses. The page
// header carries the title "Änderungsprotokoll"; the file is named after the
// project with ".TXT". False when nothing was written.
bool showChanges(const Documentation& docs, OutputChannel& out);
bool printChanges(const Documentation& docs, OutputChannel& out);

// The listing itself, to an open channel.
void writeChangeListing(OutputChannel& out, const Documentation& docs);

} // namespace zam1
