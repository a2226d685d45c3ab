#pragma once
// The bytes of a file being drawn, held until the run commits them. The buffer
// is a memory mapping of its own that grows by remapping: its pages move, they
// are never copied, so a 30 MB drawing costs what its bytes cost.

#include <cstddef>
#include <ostream>
#include <streambuf>
#include <string_view>

namespace zam1 {

class OutputBuffer final : public std::streambuf {
public:
    OutputBuffer() = default;
    ~OutputBuffer() override;
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    std::string_view view() const { return {m_data, static_cast<std::size_t>(pptr() - pbase())}; }
    // False once memory ran out; what was written before stays.
    bool good() const { return m_good; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

private:
    bool reserve(std::size_t needed);
    void advance(std::size_t n);

    char* m_data = nullptr;
    std::size_t m_capacity = 0;
    bool m_good = true;
};

// An ostream onto its own OutputBuffer.
class OutputStream final : public std::ostream {
public:
    OutputStream() : std::ostream(&m_buffer) {}
    std::string_view view() const { return m_buffer.view(); }
    bool complete() const { return m_buffer.good() && !fail(); }

private:
    OutputBuffer m_buffer;
};

} // namespace zam1
