#pragma once
// IGES 5.x in fixed 80-column records (start, global, directory, parameter and
// terminate sections; CR LF line ends). Lines are entity 110, circles and arcs
// 100, solids a closed 2D path 106 form 11, texts general notes 212, blocks
// subfigure definitions 308 with instances 408 (and a 124 matrix when rotated).
// An instance is always of scale 1: a scaled insert draws the block's entities
// in place instead, which every reader shows the same.
// Units are millimetres; every number uses ".". Checked against OpenCASCADE
// (occt-draw: igesbrep).
//
// The parameter records are collected in memory while the directory is
// written, and appended behind it at the end.

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/graphics/block_recorder.h"
#include "core/graphics/drawing_backend.h"
#include "core/graphics/drawing_settings.h"
#include "core/platform/clock.h"

namespace zam1 {

class Prompter;

// IGES colour number of a CAD colour number.
int igesColour(int cadColour);

class IgesWriter final : public DrawingBackend {
public:
    // `fileName` is the output file's name without folder and extension.
    IgesWriter(std::ostream& out, const DrawingSettings& settings, std::string fileName, DateTime now,
               Prompter* prompter = nullptr);

    void openSheet(const Sheet& sheet) override;
    void beginPage() override {}
    void endPage() override {}
    void finish() override;

    void setLayer(int layer) override;
    void setTextStyle(const TextStyle& style) override;

    void line(Point a, Point b) override;
    void circle(Point centre, long double radius) override;
    void arc(Point centre, long double startDeg, long double endDeg, long double radius) override;
    void solid(const Quad& quad) override;
    void text(std::string_view oem, Point at) override;

    bool beginBlock(std::string_view name) override;
    void endBlock(bool keep = true) override;
    void insertBlock(std::string_view name, Point at, long double rotationDeg, long double xScale,
                     long double yScale) override;

    int colour() const { return m_colour; }
    int lineFont() const { return m_lineFont; }

private:
    struct Block {
        std::string name;
        int entry = 0;
        std::unique_ptr<BlockRecorder> content;
    };
    // One entity: its parameter data in pieces that each begin a new record.
    struct Entity {
        int type = 0;
        std::string_view first;
        std::string_view second;
        std::string_view matrix;
        std::string_view form;
        std::string_view label;
        bool dependent = false;
        const std::vector<std::string>* more = nullptr;
    };

    int emit(const Entity& e);
    void emitArc(Point centre, long double startDeg, long double endDeg, long double radius);
    void drawInPlace(const Block& block, const BlockPlacement& placement);
    void insertTurned(const std::string& definition, Point at, long double rotationDeg);
    int writeParameters(std::string_view piece, int entry);
    void parameterRecord(std::string_view data, int entry);
    void sectionRecord(std::string& out, std::string_view data, char section, int& counter);
    void directoryField(std::string_view value);
    void directoryNumber(long long value);
    void coordinate(std::string& out, long double value) const;
    void flushIfLarge();

    std::ostream& m_out;
    const DrawingSettings& m_settings;
    std::string m_fileName;
    DateTime m_now;
    Prompter* m_prompter;
    std::string m_buffer;       // start, global and directory records
    std::vector<std::string> m_parameters;   // parameter records, written at the end
    int m_s = 0, m_g = 0, m_d = 0, m_p = 0;
    int m_entry = -1;
    int m_pointer = 1;
    int m_layer = 0;
    int m_colour = 0;
    int m_lineFont = 1;
    TextStyle m_style;
    std::string m_first;    // the parameter data being built
    std::string m_second;
    bool m_inBlock = false;
    std::string m_blockName;
    std::vector<int> m_members;
    std::vector<Block> m_blocks;
    std::unique_ptr<BlockRecorder> m_recording;
    bool m_started = false;
    bool m_finished = false;
};

} // namespace zam1
