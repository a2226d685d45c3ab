#include "core/model/chain.h"

#include <algorithm>
#include <stdexcept>

namespace zam1 {

void MessageList::add(std::string_view text) {
    const std::string_view key = text.substr(0, kMessageLength);
    for (int i = 0; i < m_count; ++i) {
        if (m_entries[static_cast<std::size_t>(i)].view() == key) return;
    }
    if (m_count >= kMaxMessages) return;
    m_entries[static_cast<std::size_t>(m_count++)] = key;
}

Chain::Chain()
    : m_elements(kMaxElements + 1),
      m_closings(kMaxClosing + 1),
      m_scratch{std::vector<std::uint8_t>(kMaxElements + 1), std::vector<std::int32_t>(kMaxElements + 2)} {
    clear();
}

Element Chain::clearedElement() {
    Element e;
    e.text = "..........";
    return e;
}

ClosingDimension Chain::clearedClosing(int k) {
    ClosingDimension c;
    c.fromElement = k;
    c.toElement = 0;
    c.text = "................";
    return c;
}

void Chain::clear() {
    std::fill(m_elements.begin(), m_elements.end(), clearedElement());
    m_elements[0].text.clear();
    for (int k = 0; k <= kMaxClosing; ++k) m_closings[static_cast<std::size_t>(k)] = clearedClosing(k);
    m_elementCount = 0;
    m_closingCount = 0;
}

bool Chain::setElementCount(int count) {
    if (count < 0 || count > kMaxElements) return false;
    m_elementCount = count;
    return true;
}

bool Chain::setClosingCount(int count) {
    if (count < 0 || count > kMaxClosing) return false;
    m_closingCount = count;
    return true;
}

void Chain::outOfRange(const char* what) { throw std::out_of_range(what); }

bool Chain::insertElement(int position) {
    if (m_elementCount >= kMaxElements || position < 1 || position > m_elementCount + 1) return false;
    const auto at = m_elements.begin() + position;
    std::move_backward(at, m_elements.begin() + m_elementCount + 1, m_elements.begin() + m_elementCount + 2);
    *at = clearedElement();
    ++m_elementCount;
    return true;
}

bool Chain::deleteElement(int position) {
    if (position < 1 || position > m_elementCount) return false;
    const auto at = m_elements.begin() + position;
    std::move(at + 1, m_elements.begin() + m_elementCount + 1, at);
    m_elements[static_cast<std::size_t>(m_elementCount)] = clearedElement();
    --m_elementCount;
    return true;
}

bool Chain::insertClosing(int position) {
    if (m_closingCount >= kMaxClosing || position < 1 || position > m_closingCount + 1) return false;
    const auto at = m_closings.begin() + position;
    std::move_backward(at, m_closings.begin() + m_closingCount + 1, m_closings.begin() + m_closingCount + 2);
    *at = clearedClosing(position);
    ++m_closingCount;
    return true;
}

bool Chain::deleteClosing(int position) {
    if (position < 1 || position > m_closingCount) return false;
    const auto at = m_closings.begin() + position;
    std::move(at + 1, m_closings.begin() + m_closingCount + 1, at);
    m_closings[static_cast<std::size_t>(m_closingCount)] = clearedClosing(m_closingCount);
    --m_closingCount;
    return true;
}

} // namespace zam1
