#include "core/graphics/screen_backend.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "core/graphics/block_file.h"
#include "core/graphics/block_recorder.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/palette.h"
#include "core/platform/file_io.h"
#include "core/platform/prompter.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

bool isBlockFileName(const std::string& name) {
    return name.size() >= 5 && name.front() == '$' && name.ends_with(".dx$");
}

} // namespace

std::string blockFilePath(const std::string& tempFolder, std::string_view blockName) {
    std::string path = tempFolder.empty() ? std::string(".") : tempFolder;
    if (path.back() != '/') path += '/';
    path += '$';
    path += blockName;
    path += ".dx$";
    return path;
}

void deleteBlockFiles(const std::string& tempFolder) {
    std::error_code ec;
    const std::filesystem::path folder = tempFolder.empty() ? std::string(".") : tempFolder;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (isBlockFileName(it->path().filename().string()) && it->is_regular_file(ec)) {
            std::filesystem::remove(it->path(), ec);
        }
    }
}

ScreenBackend::ScreenBackend(GraphicsWindow& window, const DrawingSettings& settings, Prompter* prompter,
                             BlockWriterMaker makeBlockWriter)
    : m_window(window), m_settings(settings), m_prompter(prompter), m_makeBlockWriter(makeBlockWriter) {}

ScreenBackend::~ScreenBackend() = default;

void ScreenBackend::openSheet(const Sheet& s) { m_window.Header(s.xmin, s.ymin, s.xmax, s.ymax); }

void ScreenBackend::beginPage() {
    m_window.ClearViewPort();
    m_window.SetLineStyle(kSolid);
}

void ScreenBackend::finish() {
    m_window.showDrawing();
    deleteBlockFiles(m_settings.tempFolder);
}

void ScreenBackend::setLayer(int layer) {
    if (m_block) {
        m_block->setLayer(layer);
        return;
    }
    m_layer = layer;
    applyLayerPen(layer);
}

void ScreenBackend::applyLayerPen(int n) {
    const int mode = m_settings.layerColourMode;
    if (mode == 0 && n >= 0 && n <= 5) {
        m_window.SetLineStyle(n == 1 ? kDashDot : (n == 2 ? kDashed : kSolid));
        m_window.SetColorAcad(n == 0 ? m_settings.layer0Colour : m_settings.layerColours[static_cast<std::size_t>(n - 1)]);
    } else {
        if (mode == 0) m_window.SetLineStyle(kSolid);
        if (n >= 16 && n <= 31 && mode != 2) {
            m_window.SetColorAcad(m_settings.layerColours16to31[static_cast<std::size_t>(n - 16)]);
        }
        if (mode == 2 && n == 0) m_window.SetColor(0);
    }
    int width = 1;
    if (n >= 1 && n <= 5) {
        width = std::max(m_settings.lineWidths0to5[static_cast<std::size_t>(n)], 1);
    } else if (n >= 16 && n <= 31) {
        const int w = m_settings.lineWidths16to31[static_cast<std::size_t>(n - 16)];
        if (w >= 2 && w <= 50) width = w;
    }
    m_window.SetLineWidth(width);
}

void ScreenBackend::setTextStyle(const TextStyle& style) {
    if (m_block) {
        m_block->setTextStyle(style);
        return;
    }
    m_style = style;
    m_window.SetTextStyle(style.font, 0.95L * style.width, style.height, style.angle);
}

void ScreenBackend::setScreenLineStyle(int style) {
    if (!m_block) m_window.SetLineStyle(style);
}

void ScreenBackend::line(Point a, Point b) {
    if (m_block) return m_block->line(a, b);
    m_window.line(a.x, a.y, b.x, b.y);
}

void ScreenBackend::circle(Point c, long double radius) {
    if (m_block) return m_block->circle(c, radius);
    m_window.circle(c.x, c.y, radius);
}

void ScreenBackend::arc(Point c, long double startDeg, long double endDeg, long double radius) {
    if (m_block) return m_block->arc(c, startDeg, endDeg, radius);
    m_window.Arc(c.x, c.y, startDeg, endDeg, radius);
}

void ScreenBackend::solid(const Quad& quad) {
    if (m_block) return m_block->solid(quad);
    const Quad q = solidOutline(quad);
    m_window.Solid(q[0].x, q[0].y, q[1].x, q[1].y, q[2].x, q[2].y, q[3].x, q[3].y);
}

void ScreenBackend::text(std::string_view oem, Point at) {
    if (m_block) return m_block->text(oem, at);
    m_window.OutTextXY(oemToAnsi(oem), at.x, at.y);
}

bool ScreenBackend::beginBlock(std::string_view name) {
    m_block.reset();
    if (!m_makeBlockWriter) return false;
    m_blockPath = blockFilePath(m_settings.tempFolder, name);
    // The file is made now so that a folder that cannot take it fails the block at once.
    if (writeFileSafely(m_blockPath, std::string_view()) != kIoOk) return false;
    m_blockStream = std::make_unique<std::ostringstream>();
    m_block = m_makeBlockWriter(*m_blockStream, m_settings);
    m_block->setLayer(m_layer);
    m_block->setTextStyle(m_style);
    return true;
}

void ScreenBackend::endBlock(bool keep) {
    if (!m_block) return;
    m_block->finish();
    if (keep) writeFileSafely(m_blockPath, m_blockStream->view());
    m_block.reset();
    m_blockStream.reset();
}

void ScreenBackend::drawBlockEntity(const BlockEntity& e, const BlockPlacement& pl, const TextStyle& style) {
    setLayer(layerNumber(e.layer));
    const auto place = [&pl](Point p) { return pl.place(p); };
    switch (e.kind) {
    case BlockEntity::Kind::Line: line(place(e.points[0]), place(e.points[1])); break;
    case BlockEntity::Kind::Circle: circle(place(e.points[0]), e.radius * pl.xScale); break;
    case BlockEntity::Kind::Arc:
        arc(place(e.points[0]), e.startDeg + pl.rotationDeg, e.endDeg + pl.rotationDeg, e.radius * pl.xScale);
        break;
    case BlockEntity::Kind::Solid:
        solid({place(e.points[0]), place(e.points[1]), place(e.points[2]), place(e.points[3])});
        break;
    case BlockEntity::Kind::Text: {
        // The file holds the CAD width factor; the window wants the width again.
        const long double factor = m_settings.cadTextWidthFactor > 0 ? m_settings.cadTextWidthFactor : 1;
        TextStyle t = style;
        t.height = e.height * pl.yScale;
        t.width = t.height * e.widthFactor / factor;
        t.angle = e.angleDeg + pl.rotationDeg;
        setTextStyle(t);
        text(storedFromCadText(e.text, m_settings.cadTextMode), place(e.points[0]));
        break;
    }
    }
}

int ScreenBackend::layerNumber(std::string_view name) const {
    if (name == "0") return 0;
    if (m_settings.layerColourMode == 0) {
        for (std::size_t i = 0; i < m_settings.layerNames.size(); ++i) {
            if (m_settings.layerNames[i] == name) return static_cast<int>(i) + 1;
        }
    }
    long long n = 0;
    return parseInteger(name, n) && n >= 0 && n <= 31 ? static_cast<int>(n) : m_layer;
}

void ScreenBackend::insertBlock(std::string_view name, Point at, long double rotationDeg, long double xScale,
                                long double yScale) {
    if (m_block) return m_block->insertBlock(name, at, rotationDeg, xScale, yScale);
    const std::string path = blockFilePath(m_settings.tempFolder, name);
    std::string bytes;
    if (readWholeFile(path, bytes) != kIoOk) {
        if (m_prompter) m_prompter->showError(notFoundText(path));
        return;
    }
    const BlockPlacement placement{at, rotationDeg, xScale, yScale};
    const int layer = m_layer;
    const TextStyle style = m_style;
    for (const BlockEntity& e : readBlockEntities(bytes)) drawBlockEntity(e, placement, style);
    setLayer(layer);
    setTextStyle(style);
}

} // namespace zam1
