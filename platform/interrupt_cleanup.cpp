#include "platform/interrupt_cleanup.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace tavro {
namespace {

char g_temporary[PATH_MAX + 1];
std::atomic<bool> g_tracking{false};

extern "C" void RemoveTemporaryAndDie(int signal) {
    if (g_tracking.load()) ::unlink(g_temporary);
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    ::raise(signal);
}

}  // namespace

void InstallInterruptCleanup() {
    struct sigaction action {};
    action.sa_handler = RemoveTemporaryAndDie;
    ::sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM}) {
        // A signal the process was started ignoring (a background job's SIGINT)
        // stays ignored: it would not have ended the process.
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
        ::sigaction(signal, &action, nullptr);
    }
}

void TrackTemporary(const std::string& path) {
    g_tracking.store(false);
    if (path.size() > PATH_MAX) return;  // mkstemp could not have made it either
    std::memcpy(g_temporary, path.c_str(), path.size() + 1);
    g_tracking.store(true);
}

void ForgetTemporary() { g_tracking.store(false); }

}  // namespace tavro
