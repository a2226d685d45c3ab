#pragma once
// Helper threads for work that a caller shares out. Every helper is joined
// before the caller goes on, also when the caller leaves by an exception, and an
// exception that a helper throws reaches the caller instead of ending the
// program: the command guard above the caller turns it into the error message.

#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace zam1 {

class HelperThreads {
public:
    HelperThreads() = default;
    // Waits for the helpers still running. An exception of theirs is dropped
    // here: the caller is already leaving by one of its own.
    ~HelperThreads();
    HelperThreads(const HelperThreads&) = delete;
    HelperThreads& operator=(const HelperThreads&) = delete;

    // Runs `work` on a new helper. False when the system gives no thread; the
    // caller then does that share itself.
    bool start(std::function<void()> work);
    // How many helpers were started and not yet joined.
    std::size_t count() const { return m_threads.size(); }
    // Waits for every helper, then rethrows the first exception a helper threw.
    void joinAll();

private:
    void joinEach();

    std::mutex m_mutex;
    std::exception_ptr m_failure;
    std::vector<std::jthread> m_threads;
};

} // namespace zam1
