#pragma once
// The one error flag in place of exceptions: a failing step shows its message and
// sets it; every later step of the same command does nothing while it is set.

namespace zam1 {

class ErrorFlag {
public:
    void set() { m_set = true; }
    void clear() { m_set = false; }
    bool isSet() const { return m_set; }
    explicit operator bool() const { return m_set; }

private:
    bool m_set = false;
};

} // namespace zam1
