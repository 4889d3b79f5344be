#include "app/BatchWorker.h"

#include <exception>
#include <memory>
#include <utility>

#include "batch/OperatorMessage.h"

namespace photocheck {
namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

BatchWorker::BatchWorker() {
    pace_.setInterval(ShowIntervalMs);
    connect(&pace_, &QTimer::timeout, this, &BatchWorker::showQueued);
}

BatchWorker::~BatchWorker() {
    requestStop();
    wait();
}

void BatchWorker::start(Query& adoPicMsg, BatchOptions options, BatchState state,
                        std::function<void(const JudgedPhoto&)> onPhotoStored) {
    wait();
    stop_ = false;
    outcome_ = Outcome();
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        queued_.clear();
    }
    options.stopRequested = [this] { return stop_.load(); };
    pace_.start();
    thread_ = std::thread(&BatchWorker::run, this, std::ref(adoPicMsg), std::move(options), state,
                          std::move(onPhotoStored));
}

const BatchWorker::Outcome& BatchWorker::wait() {
    if (thread_.joinable()) thread_.join();
    return outcome_;
}

void BatchWorker::queue(Event event) {
    const std::lock_guard<std::mutex> lock(mutex_);
    queued_.push_back(std::move(event));
}

// On the run's thread. A photo done carries the counts of the photos stored up to it.
BatchEvents BatchWorker::events(std::function<void(const JudgedPhoto&)> onPhotoStored) {
    using Kind = Event::Kind;
    struct Counts {
        int passed = 0;
        int failed = 0;
    };
    const auto stored = std::make_shared<Counts>();
    BatchEvents events;
    events.onCleared = [this] { queue({Kind::Cleared, {}}); };
    events.onPreparing = [this](const std::string& step) { queue({Kind::Preparing, step}); };
    events.onLogLine = [this](const std::string& line) { queue({Kind::Line, line}); };
    events.onProgressStart = [this](int total) { queue({Kind::ProgressStart, {}, total}); };
    events.onPhotoDone = [this, stored](int processed, const std::string& line) {
        queue({Kind::PhotoDone, line, processed, stored->passed, stored->failed});
    };
    events.onCounts = [this](int passed, int failed) { queue({Kind::Counts, {}, 0, passed, failed}); };
    events.onPhotoStored = [stored, onPhotoStored = std::move(onPhotoStored)](const JudgedPhoto& photo) {
        if (onPhotoStored) onPhotoStored(photo);
        ++(photo.passed ? stored->passed : stored->failed);
    };
    return events;
}

void BatchWorker::run(Query& adoPicMsg, const BatchOptions& options, BatchState state,
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
    queue({Event::Kind::Finished, {}});
}

// On the window's thread: what the run queued since the last time. Consecutive lines go out as one
// signal, and of the counts and the progress only the latest.
void BatchWorker::showQueued() {
    std::vector<Event> events;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        events.swap(queued_);
    }
    QStringList lines;
    std::optional<std::pair<int, int>> latestCounts;
    std::optional<int> processed;
    const auto showPending = [&] {
        if (!lines.isEmpty()) emit logLines(std::exchange(lines, {}));
        if (latestCounts) emit counts(latestCounts->first, latestCounts->second);
        if (processed) emit progress(*processed);
        latestCounts.reset();
        processed.reset();
    };
    using Kind = Event::Kind;
    for (const Event& event : events) {
        switch (event.kind) {
            case Kind::Line:
                lines << qt(event.text);
                break;
            case Kind::PhotoDone:
                lines << qt(event.text);
                latestCounts = {event.passed, event.failed};
                processed = event.first;
                break;
            case Kind::Counts:
                latestCounts = {event.passed, event.failed};
                break;
            case Kind::Cleared:
                showPending();
                emit cleared();
                break;
            case Kind::Preparing:
                showPending();
                emit preparing(qt(event.text));
                break;
            case Kind::ProgressStart:
                showPending();
                emit progressStarted(event.first);
                break;
            case Kind::Finished:
                showPending();
                pace_.stop();
                emit finished();
                return;  // nothing comes after it
        }
    }
    showPending();
}

}  // namespace photocheck
