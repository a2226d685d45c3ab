#pragma once
// The drawing devices in one table, in the order of the "CAD-Code" menu: what a
// device is called, which file it writes and how its back-end is made. The
// device menu, the save dialog, the back-end of a run and the "/CADi:j" batch
// mode all read it; a new file format is one more row. The rows are made beside
// the writers they name (core/cad/device_table.cpp): this layer only declares them.

#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace zam1 {

class Clock;
class DrawingBackend;
class GraphicsWindow;
class OutputStream;
class Prompter;
struct DrawingSettings;

// A device's number is its place in the device menu (1-based) and the i of "/CADi".
enum OutputDevice : int {
    kDeviceAsk = 0,        // as a device of a running run: the caller's own back-end
    kDeviceDxf = 1,
    kDeviceIges = 2,
    kDeviceScreen = 3,
    kDevicePlot = 4,
    kDeviceTxt = 5,
};

// Where a device's drawing goes.
enum class DeviceOutput {
    File,     // a file the user names (in batch: the project's base name), with the row's extension
    Window,   // the graphics window
    Plot,     // a fixed file handed to the plot program, or printed by the window itself
};

// What a back-end is made from; each maker takes the parts it needs.
struct BackendParts {
    OutputStream& file;            // the run's output, committed by the layer
    const DrawingSettings& settings;
    Prompter* prompter;
    GraphicsWindow* window;        // the screen device
    std::string fileBaseName;      // the output file without folder and extension
    const Clock& clock;            // the file's time stamp
};

struct CadFormat {
    OutputDevice device;
    std::string_view title;        // device menu entry and save dialog title
    std::string_view extension;    // of the file the device writes; empty for the window and the plot
    std::string_view filter;       // save dialog filter: pairs of label and pattern, "|" between
    DeviceOutput output;
    std::unique_ptr<DrawingBackend> (*makeBackend)(const BackendParts& parts);
};

// Every device, in menu order (device 1 first).
std::span<const CadFormat> cadFormats();

// The row of `device`; nullptr for kDeviceAsk and numbers no device has.
const CadFormat* cadFormatOf(OutputDevice device);

// The device at menu place `choice` (1-based), as the prompter's device choice
// returns it; kDeviceAsk for a place the menu does not have.
OutputDevice deviceAtMenuPlace(int choice);

// The extension of the file a drawing device writes ("dxf", "igs", "txt"); empty
// for the devices that write no file of their own.
std::string_view drawingFileExtension(OutputDevice device);

// The file formats as "/CADi" numbers them: "1=DXF, 2=IGS, 5=TXT".
std::string cadFileFormatList();

} // namespace zam1
