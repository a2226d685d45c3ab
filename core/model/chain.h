#pragma once
// The one in-memory dimension chain: element table (element 0 is the reference),
// closing-dimension table, the chain settings, and the result and messages of the
// last calculation. All records up to the limits exist from construction; clearing
// only resets their contents, so the tables never reallocate.

#include <vector>

#include "core/model/records.h"

namespace zam1 {

class Chain {
public:
    Chain();

    // Resets every record as a new project has it; element 0 gets an empty text.
    void clear();

    int elementCount() const { return m_elementCount; }
    int closingCount() const { return m_closingCount; }

    // Sets the number of elements (0..2500) or closing dimensions (0..250); records
    // beyond the count keep their contents. Returns false and changes nothing when
    // the number is out of range.
    bool setElementCount(int count);
    bool setClosingCount(int count);

    // Element n, 0..kMaxElements; closing dimension k, 1..kMaxClosing. Throws
    // std::out_of_range outside the table.
    Element& element(int n) {
        if (n < 0 || n > kMaxElements) outOfRange("element number");
        return m_elements[static_cast<std::size_t>(n)];
    }
    const Element& element(int n) const {
        if (n < 0 || n > kMaxElements) outOfRange("element number");
        return m_elements[static_cast<std::size_t>(n)];
    }
    ClosingDimension& closing(int k) {
        if (k < 1 || k > kMaxClosing) outOfRange("closing dimension number");
        return m_closings[static_cast<std::size_t>(k)];
    }
    const ClosingDimension& closing(int k) const {
        if (k < 1 || k > kMaxClosing) outOfRange("closing dimension number");
        return m_closings[static_cast<std::size_t>(k)];
    }

    // Inserting at position p (1..count+1) shifts p.. up by one and puts a cleared
    // record at p; deleting p (1..count) shifts the later ones down. References in
    // other records are left as they are. Both return false when refused (limit,
    // position out of range) and leave the table unchanged.
    bool insertElement(int position);
    bool deleteElement(int position);
    bool insertClosing(int position);
    bool deleteClosing(int position);

    static Element clearedElement();
    static ClosingDimension clearedClosing(int k);

    long double productionSigma = 3;
    int decimals = 3;

    ClosingResult result;
    MessageList messages;

    // Scratch space of computePositions, sized once so that a refresh never allocates.
    struct Scratch {
        std::vector<std::uint8_t> state;
        std::vector<std::int32_t> stack;
    };
    Scratch& scratch() { return m_scratch; }

private:
    [[noreturn]] static void outOfRange(const char* what);

    std::vector<Element> m_elements;          // 0..kMaxElements
    std::vector<ClosingDimension> m_closings; // 1..kMaxClosing, index 0 unused
    int m_elementCount = 0;
    int m_closingCount = 0;
    Scratch m_scratch;
};

} // namespace zam1
