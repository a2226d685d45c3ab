#pragma once
// The screen device: every operation is recorded into the graphics window's
// display list, with the pen of the selected layer taken from the settings. A
// named block is not drawn while it is defined: it goes to the DXF block file
// "$" + name + ".dx$" in the temporary folder, and an insert reads that file
// back and draws its entities moved, turned and scaled. The writer of those
// files comes from the caller (the device table hands in the DXF writer), so
// this layer knows no file format of its own.

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "core/graphics/drawing_backend.h"
#include "core/graphics/drawing_settings.h"

namespace zam1 {

class GraphicsWindow;
struct BlockEntity;
struct BlockPlacement;
class Prompter;

// Makes the writer that records a named block into `out` while it is defined.
using BlockWriterMaker = std::unique_ptr<DrawingBackend> (*)(std::ostream& out, const DrawingSettings& settings);

// The temporary file of a block on screen.
std::string blockFilePath(const std::string& tempFolder, std::string_view blockName);
// Deletes every "$*.dx$" file of the folder.
void deleteBlockFiles(const std::string& tempFolder);

class ScreenBackend final : public DrawingBackend {
public:
    // Without a block writer a block cannot be defined (beginBlock fails).
    ScreenBackend(GraphicsWindow& window, const DrawingSettings& settings, Prompter* prompter,
                  BlockWriterMaker makeBlockWriter);
    ~ScreenBackend() override;

    void openSheet(const Sheet& sheet) override;
    void beginPage() override;
    void endPage() override {}
    void finish() override;

    void setLayer(int layer) override;
    void setTextStyle(const TextStyle& style) override;
    void setScreenLineStyle(int style) override;

    void line(Point a, Point b) override;
    void circle(Point centre, long double radius) override;
    void arc(Point centre, long double startDeg, long double endDeg, long double radius) override;
    void solid(const Quad& quad) override;
    void text(std::string_view oem, Point at) override;

    bool beginBlock(std::string_view name) override;
    void endBlock(bool keep = true) override;
    void insertBlock(std::string_view name, Point at, long double rotationDeg, long double xScale,
                     long double yScale) override;

private:
    void applyLayerPen(int layer);
    int layerNumber(std::string_view name) const;
    void drawBlockEntity(const BlockEntity& e, const BlockPlacement& placement, const TextStyle& style);

    GraphicsWindow& m_window;
    const DrawingSettings& m_settings;
    Prompter* m_prompter;
    BlockWriterMaker m_makeBlockWriter;
    int m_layer = 0;
    TextStyle m_style;
    // The block being defined: its file, and the writer that fills it.
    std::string m_blockPath;
    std::unique_ptr<std::ostringstream> m_blockStream;
    std::unique_ptr<DrawingBackend> m_block;
};

} // namespace zam1
