#include "app/BatchWorker.h"

#include <exception>
#include <utility>

#include "batch/OperatorMessage.h"

namespace photocheck {

BatchWorker::~BatchWorker() {
    requestStop();
    wait();
}

void BatchWorker::start(Query& adoPicMsg, BatchOptions options, BatchState state,
                        std::function<void(const JudgedPhoto&)> onPhotoStored) {
    wait();
    stop_ = false;
    outcome_ = Outcome();
    options.stopRequested = [this] { return stop_.load(); };
    thread_ = std::thread(&BatchWorker::run, this, std::ref(adoPicMsg), std::move(options), state,
                          std::move(onPhotoStored));
}

const BatchWorker::Outcome& BatchWorker::wait() {
    if (thread_.joinable()) thread_.join();
    return outcome_;
}

BatchEvents BatchWorker::events(std::function<void(const JudgedPhoto&)> onPhotoStored) {
    const auto qt = [](const std::string& text) { return QString::fromStdString(text); };
    BatchEvents events;
    events.onCleared = [this] { emit cleared(); };
    events.onPreparing = [this, qt](const std::string& step) { emit preparing(qt(step)); };
    events.onLogLine = [this, qt](const std::string& line) { emit logLine(qt(line)); };
    events.onProgressStart = [this](int total) { emit progressStarted(total); };
    events.onPhotoDone = [this, qt](int processed, const std::string& line) {
        emit photoDone(processed, qt(line));
    };
    events.onCounts = [this](int passed, int failed) { emit counts(passed, failed); };
    events.onPhotoStored = [this, onPhotoStored = std::move(onPhotoStored), passed = 0,
                            failed = 0](const JudgedPhoto& photo) mutable {
        if (onPhotoStored) onPhotoStored(photo);
        ++(photo.passed ? passed : failed);
        emit counts(passed, failed);
    };
    return events;
}

void BatchWorker::run(Query& adoPicMsg, BatchOptions options, BatchState state,
                      std::function<void(const JudgedPhoto&)> onPhotoStored) {
    try {
        const BatchEvents runEvents = events(std::move(onPhotoStored));
        outcome_.summary = RunBatch(adoPicMsg, options, runEvents, state);
        outcome_.completed = !outcome_.summary.stopped;
    } catch (const BatchRefused& e) {
        outcome_.refusal = e.what();
    } catch (const std::exception& e) {
        outcome_.error = operatorMessage(e);
    }
    outcome_.state = state;
    emit finished();
}

}  // namespace photocheck
