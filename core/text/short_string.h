#pragma once
// A length-prefixed text of fixed capacity, as the records store it. Assigning a
// longer text keeps its first N bytes. The bytes are in the stored (OEM) code page.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zam1 {

template <std::size_t N>
class ShortString {
    static_assert(N > 0 && N <= 255, "a length-prefixed text holds at most 255 bytes");

public:
    static constexpr std::size_t capacity = N;

    constexpr ShortString() = default;
    constexpr ShortString(std::string_view text) { assign(text); } // NOLINT(implicit)
    constexpr ShortString(const char* text) { assign(text); }       // NOLINT(implicit)

    constexpr ShortString& operator=(std::string_view text) {
        assign(text);
        return *this;
    }
    constexpr ShortString& operator=(const char* text) {
        assign(text);
        return *this;
    }
    ShortString& operator=(const std::string& text) {
        assign(text);
        return *this;
    }

    constexpr void assign(std::string_view text) {
        m_length = static_cast<std::uint8_t>(std::min(text.size(), N));
        std::copy_n(text.data(), m_length, m_bytes.data());
    }

    constexpr void clear() { m_length = 0; }
    constexpr std::size_t size() const { return m_length; }
    constexpr bool empty() const { return m_length == 0; }
    constexpr std::string_view view() const { return {m_bytes.data(), m_length}; }
    std::string str() const { return std::string(view()); }
    constexpr operator std::string_view() const { return view(); } // NOLINT(implicit)

    friend constexpr bool operator==(const ShortString& a, const ShortString& b) {
        return a.view() == b.view();
    }
    friend constexpr bool operator==(const ShortString& a, std::string_view b) {
        return a.view() == b;
    }
    friend constexpr bool operator==(const ShortString& a, const char* b) {
        return a.view() == std::string_view(b);
    }

private:
    std::uint8_t m_length = 0;
    std::array<char, N> m_bytes{};
};

} // namespace zam1
