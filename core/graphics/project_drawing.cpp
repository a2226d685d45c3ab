// The project drawing run and its frame: border, title block with the
// documentation, protection notice, change rows, text rows and the logo.

#include "core/graphics/project_drawing.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/session/program_identity.h"
#include "core/config/configuration.h"
#include "core/graphics/block_file.h"
#include "core/graphics/drawing_layer.h"
#include "core/graphics/screen_backend.h"
#include "core/platform/clock.h"
#include "core/platform/file_io.h"
#include "core/records/documentation.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr std::size_t kFileNameLength = 150;
constexpr int kChangeRows = 8;

constexpr std::array<std::string_view, 5> kNoticeEnglish = {
    "Copying of this document and giving it to other and the use",
    "or communication of the contents therof, are forbidden with-",
    "out express authority. Offenders are liable to the payment",
    "of damages. All rights are reserved in the event of the grant",
    "of a patent or the registration of a utility model or design.",
};
constexpr std::array<std::string_view, 5> kNoticeGerman = {
    "Weitergabe sowie Vervielfältigung dieser Unterlage, Ver-",
    "wertung und Mitteilung ihres Inhalts nicht gestattet, soweit",
    "nicht ausdrücklich zugestanden. Zuwiderhandlungen verpflich-",
    "ten zu Schadensersatz. Alle Rechte für den Fall der Patent-",
    "erteilung oder Gebrauchsmuster-Eintragung vorbehalten.",
};
constexpr std::array<long double, 5> kNoticeX = {4, 6.7L, 9.4L, 12.1L, 14.8L};

void frameLines(DrawingLayer& layer) {
    layer.setLayer(5);
    layer.rectangle(18, 5, 205, 292);
    layer.line(18, 43, 205, 43);
    layer.setLayer(4);
    layer.line(73, 5, 73, 43);
    layer.line(116, 5, 116, 43);
    layer.line(73, 22, 205, 22);
    layer.line(192, 9.4L, 192, 22);
    layer.setLayer(3);
    layer.rectangle(0, 0, 210, 297);
    for (int i = 1; i <= 8; ++i) layer.line(18, 43 - 4.2L * i, 73, 43 - 4.2L * i);
    for (int i = 1; i <= 4; ++i) layer.line(73, 43 - 4.2L * i, 116, 43 - 4.2L * i);
    const long double lines[][4] = {
        {26, 5, 26, 43}, {52, 5, 52, 43}, {65, 5, 65, 43}, {82, 22, 82, 43}, {98, 22, 98, 43},
        {73, 9.4L, 205, 9.4L}, {160, 5, 160, 9.4L}, {192, 14, 205, 14}, {0, 148.5L, 15, 148.5L},
    };
    for (const auto& l : lines) layer.line(l[0], l[1], l[2], l[3]);
}

void titleBlock(DrawingLayer& layer, const ProjectDrawingInput& in) {
    const DrawingInfo& d = in.docs.drawing;
    layer.textStyle(0, 1.3L, 1.6L, 0);
    layer.text("Zust.", 19, 6);
    layer.text(utf8ToOem("Änderung"), 30, 6);
    layer.text("Datum", 54, 6);
    layer.text("Name", 65.6L, 6);
    layer.textStyle(0, 1.5L, 1.8L, 0);
    layer.text("Datum", 85, 39.8L);
    layer.text("Name", 100, 39.8L);
    layer.text("Bearb.", 74, 35.6L);
    layer.text("Gepr.", 74, 31.4L);
    layer.text("Norm", 74, 27.2L);
    layer.text(in.config.approvalText, 74, 23.2L);
    layer.textStyle(0, 1.5L, 1.8L, 90);
    for (std::size_t i = 0; i < kNoticeX.size(); ++i) {
        layer.text(kNoticeEnglish[i], kNoticeX[i], 10);
        layer.text(utf8ToOem(kNoticeGerman[i]), kNoticeX[i], 200);
    }
    layer.textStyle(0, 1.5L, 1.8L, 0);
    const struct { std::string_view date, name; long double y; } rows[] = {
        {d.drawnDate, d.drawnName, 35.6L}, {d.checkedDate, d.checkedName, 31.2L},
        {d.standardsDate, d.standardsName, 27.0L}, {d.approvalDate, d.approvalName, 23.0L},
    };
    for (const auto& row : rows) {
        layer.text(row.date, 83.5L, row.y);
        layer.text(row.name, 100, row.y);
    }
    layer.text("Blatt", 194, 18);
    layer.text("Bl.", 200, 10.4L);
    if (!d.replaces.empty()) layer.text(utf8ToOem("Ersatz für ") + d.replaces.str(), 118, 6.5L);
    if (!d.replacedBy.empty()) layer.text("Ersetzt durch " + d.replacedBy.str(), 162, 6.5L);
}

// The last eight change records, oldest in the lowest row.
void changeRows(DrawingLayer& layer, const ProjectDrawingInput& in) {
    const int count = std::clamp(in.docs.changeCount, 0, kMaxChanges);
    if (count == 0) return;
    layer.textStyle(0, 1.3L, 1.7L, 0);
    layer.setLayer(3);
    const int first = count <= kChangeRows ? 1 : count - kChangeRows + 1;
    for (int i = first, row = 1; i <= count; ++i, ++row) {
        const ChangeRecord& c = in.docs.changes[static_cast<std::size_t>(i - 1)];
        const long double y = 6.5L + 4.2L * row;
        layer.text(changeIndex(i, in.config.indexStyle), 21, y);
        layer.text(c.changeId, 27, y);
        layer.text(c.changeDate, 52.5L, y);
        layer.text(c.changeEditor, 66, y);
    }
}

void textRows(DrawingLayer& layer, const ProjectDrawingInput& in) {
    const DrawingInfo& d = in.docs.drawing;
    const int count = std::clamp(d.textRowCount, 0, kMaxTextRows);
    for (int i = 0; i < count; ++i) {
        const DrawingTextRow& row = d.textRows[static_cast<std::size_t>(i)];
        if (!(row.h > 0)) continue;
        layer.textStyle(0, 0.8L * row.h, row.h, row.phi);
        layer.text(row.text, row.x, row.y);
    }
}

void namesAndStamps(DrawingLayer& layer, const ProjectDrawingInput& in) {
    const Configuration& config = in.config;
    layer.setLayer(5);
    layer.textStyle(0, 4, 5, 0);
    layer.text(in.project.drawingName, 120, 32.5L);
    layer.text(in.project.drawingNumber, 120, 12);
    layer.textStyle(0, 2.8L, 3.5L, 0);
    layer.text(in.project.drawingName2, 120, 25);
    layer.textStyle(0, 1.2L, 1.5L, 0);
    layer.text(in.project.remarkLines[1], 75, 6.5L);
    if (!config.hideFileName) layer.text(in.projectFile.substr(0, kFileNameLength), 18, 1);
    if (!config.hideDate) {
        const DateTime now = in.clock.now();
        layer.text(dateText(now, config.dateCode) + " " + intZero(now.hour, 2) + ":" + intZero(now.minute, 2), 186, 1);
    }
    layer.textStyle(0, 3.0L, 3.5L, 0);
    if (!config.hideProgramTitle) {
        layer.text("KORVANT   " + std::string(kProgramTitle) + "  V" + std::string(kProgramVersion), 1, 300);
    }
}

int layerOfName(std::string_view name) {
    long long n = 0;
    return parseInteger(name, n) && n >= 0 && n <= 31 ? static_cast<int>(n) : 0;
}

// The logo file's entities drawn where an insert would put them. A plot file
// cannot take the insert itself: it defines no block it was not given.
void drawLogoEntities(DrawingLayer& layer, const ProjectDrawingInput& in, std::string_view dxf) {
    const int savedLayer = layer.layer();
    layer.setOrigin(75, 10);
    for (const BlockEntity& e : readBlockEntities(dxf)) {
        layer.setLayer(layerOfName(e.layer));
        const Quad& p = e.points;
        switch (e.kind) {
        case BlockEntity::Kind::Line: layer.line(p[0].x, p[0].y, p[1].x, p[1].y); break;
        case BlockEntity::Kind::Circle: layer.circle(p[0].x, p[0].y, e.radius); break;
        case BlockEntity::Kind::Arc: layer.arc(p[0].x, p[0].y, e.startDeg, e.endDeg, e.radius); break;
        case BlockEntity::Kind::Solid:
            layer.solid(p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, p[3].x, p[3].y);
            break;
        case BlockEntity::Kind::Text:
            // The width that gives the file's width factor back, whatever the configured one.
            layer.textStyle(0, e.height, e.height, e.angleDeg);
            layer.textStyle(0, e.height * e.widthFactor / std::max(layer.widthFactor(), 1e-6L), e.height, e.angleDeg);
            layer.text(storedFromCadText(e.text, in.cadTextMode), p[0].x, p[0].y);
            break;
        }
    }
    layer.setOrigin(0, 0);
    layer.setLayer(savedLayer);
}

void drawLogo(DrawingLayer& layer, const ProjectDrawingInput& in) {
    if (in.config.hideLogo) return;
    const bool screen = layer.outputsTo(DeviceOutput::Window);
    if (!screen && !layer.outputsTo(DeviceOutput::Plot)) return;
    std::string bytes;
    // The user keeps the logo in the configured temporary folder; the screen reads
    // its blocks from the run's own folder, so it is put there for the drawing.
    if (readWholeFile(blockFilePath(in.config.tempDirectory, kLogoBlock), bytes) != kIoOk) return;
    if (screen && in.tempFolder != in.config.tempDirectory) {
        writeFileSafely(blockFilePath(in.tempFolder, kLogoBlock), bytes);
    }
    if (screen) {
        layer.insertBlock(kLogoBlock, 75, 10);
    } else {
        drawLogoEntities(layer, in, bytes);
    }
}

} // namespace

std::string changeIndex(int record, int indexStyle) {
    if (record < 1 || record > 26) return intText(record);
    switch (indexStyle) {
    case 0: return std::string(1, static_cast<char>('a' + record - 1));
    case 1: return intText(record);
    case 2: return std::string(1, static_cast<char>('A' + record - 1));
    default: return std::string();
    }
}

void drawFrame(DrawingLayer& layer, const ProjectDrawingInput& in) {
    layer.setTextAlignment(0, 0);
    frameLines(layer);
    titleBlock(layer, in);
    changeRows(layer, in);
    textRows(layer, in);
    namesAndStamps(layer, in);
}

void drawProjectDrawing(DrawingLayer& layer, const ProjectDrawingInput& in) {
    layer.setLayer(5);
    layer.openSheet(-5, -5, 225, 310);
    layer.writeTables();
    layer.beginBlock(kFrameBlock);
    drawFrame(layer, in);
    layer.endBlock();
    layer.beginPage();
    layer.setLayer(0);
    layer.insertBlock(kFrameBlock, 0, 0, 0, 1, 1);
    // The logo goes on the page, not into the frame: a block read back on screen
    // holds no inserts of its own.
    drawLogo(layer, in);
    drawDrawingTables(layer, in);
    layer.endPage();
    layer.finishRun();
}

bool runProjectDrawing(DrawingLayer& layer, const ProjectDrawingInput& in, OutputDevice device) {
    if (!layer.startRun(device)) return false;
    drawProjectDrawing(layer, in);
    return true;
}

} // namespace zam1
