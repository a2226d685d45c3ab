#include "core/platform/helper_threads.h"

#include <system_error>
#include <utility>

namespace zam1 {

HelperThreads::~HelperThreads() { joinEach(); }

bool HelperThreads::start(std::function<void()> work) {
    try {
        m_threads.emplace_back([this, work = std::move(work)] {
            try {
                work();
            } catch (...) {
                const std::lock_guard lock(m_mutex);
                if (!m_failure) m_failure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void HelperThreads::joinEach() {
    for (std::jthread& t : m_threads) {
        if (t.joinable()) t.join();
    }
    m_threads.clear();
}

void HelperThreads::joinAll() {
    joinEach();
    if (std::exception_ptr failure = std::exchange(m_failure, nullptr)) std::rethrow_exception(failure);
}

} // namespace zam1
