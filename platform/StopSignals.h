#pragma once

namespace photocheck {

// While the object lives, the operator's Ctrl+C (SIGINT) and the system's request to end (SIGTERM)
// ask the program to stop instead of ending it at once, so that it stops its work between two steps
// and cleans up after itself: the first such signal is noted, a second one of the same kind ends the
// program as usual. A signal the program was started to ignore stays ignored. When the object goes
// the signals do what they did before. One object at a time.
class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The number of the signal that asked to stop; 0 while none has.
    int received() const;
    // Its name, "SIGINT" or "SIGTERM"; empty while none has.
    const char* receivedName() const;
};

}  // namespace photocheck
