#include "platform/StopSignals.h"

#include <signal.h>

namespace photocheck {
namespace {

constexpr int Handled[] = {SIGINT, SIGTERM};

// A signal handler can reach nothing but a variable of this kind; it is the one thing it writes.
volatile sig_atomic_t receivedSignal = 0;
struct sigaction previous[2];

void noteSignal(int signal) {
    receivedSignal = signal;
}

}  // namespace

StopSignals::StopSignals() {
    receivedSignal = 0;
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;  // the second signal finds the default again
    for (int i = 0; i < 2; ++i) {
        sigaction(Handled[i], nullptr, &previous[i]);
        if (previous[i].sa_handler != SIG_IGN) sigaction(Handled[i], &action, nullptr);  // nohup stays
    }
}

StopSignals::~StopSignals() {
    for (int i = 0; i < 2; ++i) sigaction(Handled[i], &previous[i], nullptr);
}

int StopSignals::received() const {
    return receivedSignal;
}

}  // namespace photocheck
