#include "core/model/resolution.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/model/chain.h"
#include "core/model/resolution_steps.h"

namespace zam1 {
namespace {

using resolution::Path;

// Composes short messages on the stack: resolution must not allocate.
class Words {
public:
    Words& operator<<(std::string_view text) {
        for (char c : text) {
            if (m_length < sizeof m_buffer) m_buffer[m_length++] = c;
        }
        return *this;
    }
    Words& operator<<(long long number) {
        char digits[24];
        const auto r = std::to_chars(digits, digits + sizeof digits, number);
        return *this << std::string_view(digits, static_cast<std::size_t>(r.ptr - digits));
    }
    std::string_view view() const { return {m_buffer, m_length}; }

private:
    char m_buffer[128];
    std::size_t m_length = 0;
};

// A failed resolution leaves no sides behind: the arrays may already hold the
// broken path, and a listing must not walk it.
void reportStructureError(Chain& chain, int a, int b) {
    resolution::structureFault(chain, chain.result.structureError, a, b);
    chain.result.pathFromCount = 0;
    chain.result.pathToCount = 0;
}

} // namespace

namespace resolution {

void structureFault(Chain& chain, ShortString<60>& error, int a, int b) {
    Words words;
    words << "Fehler im Massaufbau zwischen Element " << a << " und " << b << " !";
    error = words.view();
    Words message;
    message << "Fehler : Massaufbau !  (" << a << " -> " << b << ")";
    chain.messages.add(message.view());
}

void undefinedDistance(Chain& chain, ShortString<60>& error) {
    error = kUndefinedDistance;
    chain.messages.add(kUndefinedDistance);
}

// The path of one end: entry 1 is the end itself, each further entry the
// predecessor of the one before, down to the reference element 0. Entry 0 stands
// for element 0 as well. False when the tree is broken: a cycle (more than
// elementCount + 1 entries) or a number outside 0..elementCount.
bool buildPath(const Chain& chain, int end, Path& path, int& length) {
    const int count = chain.elementCount();
    path[0] = 0;
    path[1] = end;
    length = 1;
    if (end <= 0) return true;
    if (end > count) return false;
    int current = end;
    while (current != 0) {
        const int next = chain.element(current).predecessor;
        if (next < 0 || next > count || length >= count + 1) return false;
        path[static_cast<std::size_t>(++length)] = next;
        current = next;
    }
    return true;
}

bool findParting(const Path& pathA, int lengthA, const Path& pathB, int lengthB, int& i, int& j) {
    i = lengthA;
    j = lengthB;
    for (;;) {
        --i;
        --j;
        if (i < 0 || j < 0) return false;
        if (pathA[static_cast<std::size_t>(i)] != pathB[static_cast<std::size_t>(j)]) return true;
    }
}

void combineSides(const SideSums& sa, const SideSums& sb, ClosingSums& r) {
    r.closingMin = sb.min - sa.max;
    r.closingMax = sb.max - sa.min;
    r.closingNominal = sb.nominal - sa.nominal;
    r.closingMean = sb.mean - sa.mean;
    r.closingVariance = sa.halfRangeSquared + sb.halfRangeSquared;
    r.closingStatDev = std::sqrt(r.closingVariance);
    r.closingUpperDev = r.closingMax - r.closingNominal;
    r.closingLowerDev = r.closingMin - r.closingNominal;
}

} // namespace resolution

void addMessage(Chain& chain, std::string_view text) { chain.messages.add(text); }

void clearMessages(Chain& chain) { chain.messages.clear(); }

void deriveElementValues(Chain& chain) {
    clearMessages(chain);
    for (int n = 0; n <= chain.elementCount(); ++n) {
        Element& e = chain.element(n);
        if (e.positive != 0) {
            e.signedNominal = e.distance;
            e.signedMax = e.signedNominal + e.upperDev;
            e.signedMin = e.signedNominal + e.lowerDev;
        } else {
            e.signedNominal = -e.distance;
            e.signedMax = e.signedNominal - e.lowerDev;
            e.signedMin = -e.distance - e.upperDev;
        }
        e.signedMean = (e.signedMax + e.signedMin) * 0.5L;
        const long double range = e.upperDev - e.lowerDev;
        e.halfRangeSquared = range * range * 0.25L;
        if (e.upperDev < e.lowerDev) {
            Words w;
            w << "Ob.Tol. < Unt.Tol. (" << n << ")";
            addMessage(chain, w.view());
        }
    }
    computePositions(chain);
}

// Each element's position is its predecessor's plus its own signed nominal, so
// one pass over the tree places every element; walking every element back to 0
// would cost elementCount squared steps. What the element-by-element resolution
// leaves behind is kept: a broken element gets a message and the position of the
// last sound element before it, and the result is that of the last element.
void computePositions(Chain& chain) {
    enum : std::uint8_t { kUnknown, kVisiting, kSound, kBroken };
    const int count = chain.elementCount();
    Chain::Scratch& scratch = chain.scratch();
    std::uint8_t* state = scratch.state.data();
    std::int32_t* stack = scratch.stack.data();
    std::fill_n(state, count + 1, kUnknown);
    state[0] = kSound;
    chain.element(0).position = 0;

    for (int n = 1; n <= count; ++n) {
        int depth = 0;
        int current = n;
        // Climb until an element whose fate is known, a number outside the table, or a ring.
        while (current >= 0 && current <= count && state[current] == kUnknown) {
            state[current] = kVisiting;
            stack[depth++] = current;
            current = chain.element(current).predecessor;
        }
        const bool sound = current >= 0 && current <= count && state[current] == kSound;
        while (depth > 0) {
            const int e = stack[--depth];
            Element& el = chain.element(e);
            state[e] = sound ? kSound : kBroken;
            if (sound) el.position = chain.element(el.predecessor).position + el.signedNominal;
        }
    }

    long double lastSound = chain.result.closingNominal;
    int lastSoundElement = 0;
    for (int n = 1; n <= count; ++n) {
        Element& el = chain.element(n);
        if (state[n] == kSound) {
            lastSound = el.position;
            lastSoundElement = n;
            continue;
        }
        el.position = lastSound;
        Words message;
        message << "Fehler : Massaufbau !  (" << 0 << " -> " << n << ")";
        chain.messages.add(message.view());
    }
    if (lastSoundElement > 0) resolveDistance(chain, 0, lastSoundElement);
    if (count > 0 && lastSoundElement != count) resolveDistance(chain, 0, count);
}

bool resolveDistance(Chain& chain, int a, int b) {
    ClosingResult& r = chain.result;
    r.structureError.clear();
    if (a == b) {
        resolution::undefinedDistance(chain, r.structureError);
        r.pathFromCount = 0;
        r.pathToCount = 0;
        return false;
    }
    Path& pathA = r.pathFrom;
    Path& pathB = r.pathTo;
    int lengthA = 0;
    int lengthB = 0;
    if (!resolution::buildPath(chain, a, pathA, lengthA) || !resolution::buildPath(chain, b, pathB, lengthB)) {
        reportStructureError(chain, a, b);
        return false;
    }
    // Walk both paths back from element 0 until they part; what lies before the
    // parting point is each end's own side, the shared tail cancels out.
    int i = 0;
    int j = 0;
    if (!resolution::findParting(pathA, lengthA, pathB, lengthB, i, j)) {
        reportStructureError(chain, a, b);
        return false;
    }
    r.pathFromCount = i;
    r.pathToCount = j;
    resolution::combineSides(resolution::sumSide(chain, pathA.data() + 1, i),
                             resolution::sumSide(chain, pathB.data() + 1, j), r);
    return true;
}

} // namespace zam1
