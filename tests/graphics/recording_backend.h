#pragma once
// A back-end that writes down every call it gets, one line each, with numbers
// rounded to 4 decimals: tests compare what reached the device.

#include <string>
#include <vector>

#include "core/cad/cad_format.h"
#include "core/graphics/drawing_backend.h"

namespace zam1::test {

class RecordingBackend final : public DrawingBackend {
public:
    explicit RecordingBackend(std::vector<std::string>& log) : m_log(log) {}

    void openSheet(const Sheet& s) override { add("sheet", {s.xmin, s.ymin, s.xmax, s.ymax}); }
    void writeTables() override { add("tables", {}); }
    void beginPage() override { add("page", {}); }
    void endPage() override { add("endpage", {}); }
    void finish() override { add("finish", {}); }
    void setLayer(int layer) override { m_log.push_back("layer " + std::to_string(layer)); }
    void setTextStyle(const TextStyle& t) override {
        add("style " + std::to_string(t.font), {t.width, t.height, t.angle, t.widthFactor});
    }
    void setScreenLineStyle(int style) override { m_log.push_back("linestyle " + std::to_string(style)); }
    void line(Point a, Point b) override { add("line", {a.x, a.y, b.x, b.y}); }
    void circle(Point c, long double r) override { add("circle", {c.x, c.y, r}); }
    void arc(Point c, long double a1, long double a2, long double r) override { add("arc", {c.x, c.y, a1, a2, r}); }
    void solid(const Quad& q) override {
        add("solid", {q[0].x, q[0].y, q[1].x, q[1].y, q[2].x, q[2].y, q[3].x, q[3].y});
    }
    void text(std::string_view oem, Point at) override { add("text " + std::string(oem), {at.x, at.y}); }
    bool beginBlock(std::string_view name) override {
        m_log.push_back("block " + std::string(name));
        return true;
    }
    void endBlock(bool keep) override { m_log.push_back(keep ? "endblock" : "endblock discarded"); }
    void insertBlock(std::string_view name, Point at, long double rot, long double sx, long double sy) override {
        add("insert " + std::string(name), {at.x, at.y, rot, sx, sy});
    }

private:
    void add(std::string entry, std::initializer_list<long double> numbers) {
        for (long double v : numbers) entry += " " + fixedPlain(v, 4);
        m_log.push_back(std::move(entry));
    }

    std::vector<std::string>& m_log;
};

} // namespace zam1::test
