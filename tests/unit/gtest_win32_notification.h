// GoogleTest's Notification uses std::mutex, which the win32 thread model of
// MinGW-w64 does not provide.  This one does the same with an atomic flag.
#pragma once
#ifdef __cplusplus
#include <windows.h>

#include <atomic>

namespace testing {
namespace internal {
class Notification {
public:
    Notification() : notified_(false) {}
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify() { notified_.store(true); }
    void WaitForNotification() {
        while (!notified_.load()) Sleep(1);
    }

private:
    std::atomic<bool> notified_;
};
}  // namespace internal
}  // namespace testing
#endif
