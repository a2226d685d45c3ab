// The rows of the device table: the writers of this folder and the screen.
#include "core/graphics/cad_formats.h"

#include <iterator>

#include "core/cad/dxf_writer.h"
#include "core/cad/iges_writer.h"
#include "core/cad/txt_cad_writer.h"
#include "core/graphics/output_buffer.h"
#include "core/graphics/screen_backend.h"
#include "core/platform/clock.h"
#include "core/text/ascii_case.h"

namespace zam1 {
namespace {

std::unique_ptr<DrawingBackend> makeDxf(const BackendParts& p) {
    return std::make_unique<DxfWriter>(p.file, p.settings, p.prompter);
}

std::unique_ptr<DrawingBackend> makeIges(const BackendParts& p) {
    return std::make_unique<IgesWriter>(p.file, p.settings, p.fileBaseName, p.clock.now(), p.prompter);
}

std::unique_ptr<DrawingBackend> makeScreen(const BackendParts& p) {
    return std::make_unique<ScreenBackend>(*p.window, p.settings, p.prompter, makeDxfBlockWriter);
}

std::unique_ptr<DrawingBackend> makeTxt(const BackendParts& p) {
    return std::make_unique<TxtCadWriter>(p.file, p.settings);
}

constexpr CadFormat kFormats[] = {
    {kDeviceDxf, "DXF", "dxf", "*.dxf|*.dxf|*.*|*.*", DeviceOutput::File, makeDxf},
    {kDeviceIges, "IGES", "igs", "*.igs|*.igs|*.*|*.*", DeviceOutput::File, makeIges},
    {kDeviceScreen, "Kontrollausgabe auf Bildschirm", "", "", DeviceOutput::Window, makeScreen},
    // The plot program reads DXF.
    {kDevicePlot, "Ausgabe auf Laserprinter/Plotter mit PENDRAW", "", "", DeviceOutput::Plot, makeDxf},
    {kDeviceTxt, "TXT", "txt", "*.txt|*.txt|*.*|*.*", DeviceOutput::File, makeTxt},
};

} // namespace

std::span<const CadFormat> cadFormats() { return kFormats; }

const CadFormat* cadFormatOf(OutputDevice device) {
    for (const CadFormat& f : kFormats) {
        if (f.device == device) return &f;
    }
    return nullptr;
}

OutputDevice deviceAtMenuPlace(int choice) {
    if (choice < 1 || static_cast<std::size_t>(choice) > std::size(kFormats)) return kDeviceAsk;
    return kFormats[choice - 1].device;
}

std::string_view drawingFileExtension(OutputDevice device) {
    const CadFormat* f = cadFormatOf(device);
    return f && f->output == DeviceOutput::File ? f->extension : std::string_view();
}

std::string cadFileFormatList() {
    std::string list;
    for (const CadFormat& f : kFormats) {
        if (f.output != DeviceOutput::File) continue;
        if (!list.empty()) list += ", ";
        list += std::to_string(static_cast<int>(f.device)) + "=" + asciiUpper(f.extension);
    }
    return list;
}

} // namespace zam1
