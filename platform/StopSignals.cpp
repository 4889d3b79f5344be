#include "platform/StopSignals.h"

#include <csignal>

namespace photocheck {

const char* StopSignals::receivedName() const {
    switch (received()) {
        case SIGINT:
            return "SIGINT";
        case SIGTERM:
            return "SIGTERM";
        default:
            return "";
    }
}

}  // namespace photocheck
