#include "platform/StopSignals.h"

#include <windows.h>

#include <atomic>
#include <csignal>

namespace photocheck {
namespace {

// The console's handler runs on a thread of its own; it notes the request and nothing else.
std::atomic<int> receivedSignal{0};

// Ctrl+C is SIGINT; Ctrl+Break and the console window closed are the system's request to end, SIGTERM.
// A second request of the same kind goes on to the default handler, which ends the program.
BOOL WINAPI noteRequest(DWORD event) {
    const int signal = event == CTRL_C_EVENT ? SIGINT : SIGTERM;
    int none = 0;
    if (receivedSignal.compare_exchange_strong(none, signal)) return TRUE;
    return FALSE;
}

}  // namespace

StopSignals::StopSignals() {
    receivedSignal = 0;
    SetConsoleCtrlHandler(noteRequest, TRUE);
}

StopSignals::~StopSignals() {
    SetConsoleCtrlHandler(noteRequest, FALSE);
}

int StopSignals::received() const {
    return receivedSignal;
}

}  // namespace photocheck
