#pragma once
// SIGTERM, SIGHUP and SIGINT end the program in an orderly way: the handler only
// writes the signal's number into a pipe (nothing else is safe there), and the
// event loop reads it and runs the program's own ending.

#include <functional>
#include <memory>

class QSocketNotifier;

namespace zam1 {

class SignalWatch {
public:
    // Installs the handlers; `onSignal` runs in the event loop with the signal's number.
    explicit SignalWatch(std::function<void(int)> onSignal);
    // Puts the system's handlers back.
    ~SignalWatch();
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

private:
    std::function<void(int)> m_onSignal;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace zam1
