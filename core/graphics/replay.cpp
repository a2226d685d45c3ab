// FormPaint: the display list replayed onto a canvas with the window's mapping.

#include "core/graphics/replay.h"

#include <cmath>

#include "core/session/program_state.h"
#include "core/graphics/graphics_window.h"

namespace zam1 {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279503L;
constexpr std::size_t kEventInterval = 50000;

int roundInt(long double v) { return static_cast<int>(std::llrint(v)); }

double normalisedDeg(double deg) {
    double d = std::fmod(deg, 360.0);
    return d < 0 ? d + 360 : d;
}

} // namespace

void arcAngles(ArcSpec& arc) {
    const double cx = (arc.corner1.x + arc.corner2.x) / 2.0;
    const double cy = (arc.corner1.y + arc.corner2.y) / 2.0;
    const double rx = std::max(std::abs(arc.corner2.x - arc.corner1.x) / 2.0, 0.5);
    const double ry = std::max(std::abs(arc.corner2.y - arc.corner1.y) / 2.0, 0.5);
    const auto angle = [&](Pixel p) {
        return std::atan2(-(p.y - cy) / ry, (p.x - cx) / rx) * 180.0 / static_cast<double>(kPi);
    };
    arc.startDeg = normalisedDeg(angle(arc.start));
    double span = normalisedDeg(angle(arc.end) - arc.startDeg);
    if (span == 0 || arc.start == arc.end) span = 360;
    arc.spanDeg = span;
}

class Replay {
public:
    Replay(GraphicsWindow& w, ReplayCanvas& c, bool sliced = false) : m_w(w), m_c(c), m_sliced(sliced) {}

    bool run() {
        begin();
        while (m_position < m_w.m_list.size()) {
            if (m_position % kEventInterval == 0 && !m_c.processEvents()) break;
            if (!playNext()) break;
        }
        m_c.setWaitCursor(false);
        return m_complete;
    }

    void begin() {
        m_c.setWaitCursor(true);
        m_c.setPen(m_pen);
    }

    // Plays up to `count` records; false when the list is done or a record stopped it.
    // In step mode it stops in front of each erase colour until `release` lets it pass.
    bool step(std::size_t count) {
        for (std::size_t n = 0; n < count && m_position < m_w.m_list.size(); ++n) {
            if (m_w.m_stepMode && !m_released && isEraseColour(m_w.m_list[m_position])) {
                m_waiting = true;
                return true;
            }
            m_released = false;
            if (!playNext()) break;
        }
        const bool more = m_complete && m_position < m_w.m_list.size();
        if (!more) m_c.setWaitCursor(false);
        return more;
    }

    bool waiting() const { return m_waiting; }
    void release() {
        m_waiting = false;
        m_released = true;
    }

    bool complete() const { return m_complete; }
    std::size_t position() const { return m_position; }

private:
    Pixel at(long double x, long double y) const { return {m_w.pixelX(x), m_w.pixelY(y)}; }

    static bool isEraseColour(std::string_view recordText) {
        RecordReader r(recordText);
        return r.valid() && r.code() == kRecColor && r.integer() == 0;
    }

    bool playNext() {
        if (!play(m_w.m_list[m_position++])) m_complete = false;
        return m_complete;
    }

    bool play(std::string_view recordText) {
        RecordReader r(recordText);
        if (!r.valid()) return true;
        switch (r.code()) {
        case kRecMove: { const long double x = r.real(); m_c.moveTo(at(x, r.real())); break; }
        case kRecDraw: { const long double x = r.real(); m_c.lineTo(at(x, r.real())); break; }
        case kRecCircle: circle(r); break;
        case kRecLine: line(r); break;
        case kRecArc: arc(r); break;
        case kRecText: text(r); break;
        case kRecSolid: solid(r); break;
        case kRecColor: colour(static_cast<int>(r.integer())); break;
        case kRecTextStyle: textStyle(r); break;
        case kRecWindow: return window(r);
        case kRecLineStyle: m_pen.style = systemPenStyle(static_cast<int>(r.integer())); m_c.setPen(m_pen); break;
        case kRecLineWidth: m_pen.width = static_cast<int>(r.integer()); m_c.setPen(m_pen); break;
        case kRecSleep: m_c.sleepMs(static_cast<int>(r.integer())); break;
        default: break;
        }
        return true;
    }

    void circle(RecordReader& r) {
        const long double x = r.real();
        const long double y = r.real();
        const long double radius = r.real();
        m_c.ellipse(at(x - radius, y - radius), at(x + radius, y + radius));
    }

    void line(RecordReader& r) {
        long double v[4];
        for (long double& f : v) f = r.real();
        m_c.moveTo(at(v[0], v[1]));
        m_c.lineTo(at(v[2], v[3]));
    }

    void arc(RecordReader& r) {
        long double v[8];
        for (long double& f : v) f = r.real();
        ArcSpec a{at(v[0], v[1]), at(v[2], v[3]), at(v[4], v[5]), at(v[6], v[7])};
        arcAngles(a);
        m_c.arc(a);
    }

    void solid(RecordReader& r) {
        long double v[8];
        for (long double& f : v) f = r.real();
        m_c.setBrush(m_w.m_settings.colourGraphics ? m_pen.colour : Rgb{});
        const Pixel points[4] = {at(v[0], v[1]), at(v[2], v[3]), at(v[4], v[5]), at(v[6], v[7])};
        m_c.polygon(points);
    }

    void colour(int number) {
        const WindowSettings& s = m_w.m_settings;
        if (number < 0 || number > 16) return;
        if (number == 0) {
            // A sliced replay has paused in front of this record already (step()).
            if (m_w.m_stepMode && !m_sliced && !m_c.stepPause()) m_w.m_stepMode = false;
            m_pen.colour = paletteColour(s.backgroundColour);
        } else {
            m_pen.colour = s.colourGraphics ? paletteColour(number) : Rgb{};
        }
        m_c.setPen(m_pen);
        m_c.setBrush(m_pen.colour);
        m_textColourNumber = number;
    }

    void textStyle(RecordReader& r) {
        const WindowSettings& s = m_w.m_settings;
        const long double height = r.real();
        const long double width = r.real();
        r.integer();  // the font number: the face comes from the settings
        m_textAngle = r.real();
        m_textHeight = height * 1.6L * s.textHeightFactor;
        m_textWidth = width * 1.1L * s.textWidthFactor;
    }

    void text(RecordReader& r) {
        const WindowSettings& s = m_w.m_settings;
        const long double x = r.real();
        const long double y = r.real();
        FontSpec font;
        font.heightPx = roundInt(m_textHeight * m_w.m_ky);
        font.widthPx = roundInt(m_textWidth * m_w.m_kx);
        font.escapement = roundInt(m_textAngle * 10);
        const bool styled = s.textStyle >= 1 && s.textStyle <= 15;
        font.weight = styled && (s.textStyle & 1) ? 700 : 100;
        font.italic = styled && (s.textStyle & 2);
        font.underline = styled && (s.textStyle & 4);
        font.strikeOut = styled && (s.textStyle & 8);
        font.face = s.fontName;
        if (m_textColourNumber == 0) {
            m_textColour = paletteColour(s.backgroundColour);
        } else if (!s.colourGraphics) {
            m_textColour = Rgb{};
        } else if (m_textColourNumber <= 15) {
            m_textColour = paletteColour(m_textColourNumber);
        }
        const long double h = m_textHeight;
        Pixel topLeft = at(x, y + 0.75L * h);
        if (m_textAngle != 0) {
            const long double a = m_textAngle * kPi / 180;
            topLeft = at(x - std::sin(a) * 0.7L * h, y + std::cos(a) * 0.75L * h);
        }
        m_c.text(topLeft, font, m_textColour, r.rest());
    }

    bool window(RecordReader& r) {
        PixelRect v;
        v.x0 = static_cast<int>(r.integer());
        v.y0 = static_cast<int>(r.integer());
        v.x1 = static_cast<int>(r.integer());
        v.y1 = static_cast<int>(r.integer());
        WorldRect w;
        w.xmin = r.real();
        w.ymin = r.real();
        w.xmax = r.real();
        w.ymax = r.real();
        m_w.m_viewport = v;
        m_w.m_world = w;
        if (w.xmax == w.xmin || w.ymax == w.ymin) {
            m_w.m_error.set();
            return false;
        }
        // The zoom survives the replay: the scale rectangle is applied again.
        m_w.applyScale(m_w.m_scale);
        return true;
    }

    GraphicsWindow& m_w;
    ReplayCanvas& m_c;
    bool m_sliced;
    std::size_t m_position = 0;
    bool m_complete = true;
    bool m_waiting = false;   // sliced step mode: stopped in front of an erase colour
    bool m_released = false;  // the next erase colour may pass
    PenSpec m_pen;
    int m_textColourNumber = 1;
    Rgb m_textColour;
    long double m_textHeight = 3.5L;
    long double m_textWidth = 3.5L;
    long double m_textAngle = 0;
};

bool GraphicsWindow::FormPaint(ReplayCanvas& canvas) { return Replay(*this, canvas).run(); }

SlicedReplay::SlicedReplay(GraphicsWindow& window, ReplayCanvas& canvas)
    : m_replay(std::make_unique<Replay>(window, canvas, true)) {
    m_replay->begin();
}

SlicedReplay::~SlicedReplay() = default;

bool SlicedReplay::step(std::size_t records) { return m_replay->step(records); }
bool SlicedReplay::complete() const { return m_replay->complete(); }
std::size_t SlicedReplay::position() const { return m_replay->position(); }
bool SlicedReplay::waitingForStep() const { return m_replay->waiting(); }
void SlicedReplay::continueStep() { m_replay->release(); }

} // namespace zam1
