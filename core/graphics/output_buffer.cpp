#include "core/graphics/output_buffer.h"

#include <cstring>
#include <sys/mman.h>

namespace zam1 {

namespace {

constexpr std::size_t kFirstCapacity = 2u << 20;

} // namespace

OutputBuffer::~OutputBuffer() {
    if (m_data) ::munmap(m_data, m_capacity);
}

void OutputBuffer::advance(std::size_t n) {
    // pbump takes an int: large steps go in pieces.
    while (n > 0) {
        const int step = n > (1u << 30) ? (1 << 30) : static_cast<int>(n);
        pbump(step);
        n -= static_cast<std::size_t>(step);
    }
}

bool OutputBuffer::reserve(std::size_t needed) {
    const std::size_t used = static_cast<std::size_t>(pptr() - pbase());
    if (needed <= m_capacity) return true;
    std::size_t capacity = m_capacity < kFirstCapacity ? kFirstCapacity : m_capacity;
    while (capacity < needed) capacity *= 2;
    // A mapping of its own grows by moving its pages, never by copying them.
    void* grown = m_data ? ::mremap(m_data, m_capacity, capacity, MREMAP_MAYMOVE)
                         : ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (grown == MAP_FAILED) {
        m_good = false;
        return false;
    }
    char* data = static_cast<char*>(grown);
    // Large pages where the system has them: a few faults instead of thousands.
    ::madvise(data, capacity, MADV_HUGEPAGE);
    m_data = data;
    m_capacity = capacity;
    setp(m_data, m_data + m_capacity);
    advance(used);
    return true;
}

OutputBuffer::int_type OutputBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const std::size_t used = static_cast<std::size_t>(pptr() - pbase());
    if (!reserve(used + 1)) return traits_type::eof();
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize OutputBuffer::xsputn(const char* s, std::streamsize n) {
    if (n <= 0) return 0;
    const std::size_t used = static_cast<std::size_t>(pptr() - pbase());
    if (!reserve(used + static_cast<std::size_t>(n))) return 0;
    std::memcpy(pptr(), s, static_cast<std::size_t>(n));
    advance(static_cast<std::size_t>(n));
    return n;
}

} // namespace zam1
