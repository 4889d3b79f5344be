#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "batch/BatchRun.h"

namespace photocheck {

// The batch run on a thread of its own, so the window keeps painting while it works. The run's events
// are queued by its thread and handed on as signals on the window's thread at the screen's pace, every
// ShowIntervalMs: a log line and a repaint per photo would cost the window's thread nearly as much as
// the photo's check. The signals come in the order of the events they stand for, every log line
// among them, and finished() last. Until finished() has been received and wait() has returned, the
// query and its database belong to the run alone.
class BatchWorker : public QObject {
    Q_OBJECT
  public:
    static constexpr int ShowIntervalMs = 50;

    // How a run ended.
    struct Outcome {
        BatchSummary summary;
        BatchState state;                    // PreviewEnabled as the run left it
        bool completed = false;              // ran to its end: the results were reopened on the query
        std::optional<std::string> refusal;  // the run did not start; the message for the operator
        std::optional<std::string> error;    // the error that ended the run
    };

    BatchWorker();
    ~BatchWorker() override;  // stops a run still working and waits for it
    BatchWorker(const BatchWorker&) = delete;
    BatchWorker& operator=(const BatchWorker&) = delete;

    // `onPhotoStored`, when given, is called on the run's thread for every photo stored.
    void start(Query& adoPicMsg, BatchOptions options, BatchState state,
               std::function<void(const JudgedPhoto&)> onPhotoStored = {});
    bool isRunning() const { return thread_.joinable(); }
    // The run stops after the photos in work; every row written so far stays.
    void requestStop() { stop_ = true; }
    // Waits for the run's thread to end and gives its outcome (again, when called once more).
    const Outcome& wait();

  signals:
    void cleared();
    void preparing(const QString& step);
    // The lines added to the log pane since the last signal, in order.
    void logLines(const QStringList& lines);
    void progressStarted(int total);
    // The passed and failed counts, photo by photo as the rows are written (the latest at each
    // showing, sent before progress() for the same photos), and at the end.
    void counts(int passed, int failed);
    // The photos processed so far.
    void progress(int processed);
    void finished();

  private:
    struct Event {
        enum class Kind { Cleared, Preparing, Line, ProgressStart, PhotoDone, Counts, Finished };
        Kind kind;
        std::string text;
        int first = 0;  // total, processed or passed
        int passed = 0;
        int failed = 0;
    };

    void run(Query& adoPicMsg, const BatchOptions& options, BatchState state,
             std::function<void(const JudgedPhoto&)> onPhotoStored);
    BatchEvents events(std::function<void(const JudgedPhoto&)> onPhotoStored);
    void queue(Event event);
    void showQueued();

    std::thread thread_;
    std::atomic<bool> stop_{false};
    Outcome outcome_;  // written by the run's thread before it queues Finished, read after wait()
    std::mutex mutex_;
    std::vector<Event> queued_;
    QTimer pace_;
};

}  // namespace photocheck
