#pragma once
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "batch/BatchRun.h"

namespace photocheck {

// The batch run on a thread of its own, so the window keeps painting while it works. The run's
// events come out as signals; connected with Qt::QueuedConnection they reach the window's thread in
// the order the run sent them, finished() last. Until finished() has been received and wait() has
// returned, the query and its database belong to the run alone.
class BatchWorker : public QObject {
    Q_OBJECT
  public:
    // How a run ended.
    struct Outcome {
        BatchSummary summary;
        BatchState state;                    // PreviewEnabled as the run left it
        bool completed = false;              // ran to its end: the results were reopened on the query
        std::optional<std::string> refusal;  // the run did not start; the message for the operator
        std::optional<std::string> error;    // the error that ended the run
    };

    BatchWorker() = default;
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
    void logLine(const QString& line);
    void progressStarted(int total);
    void photoDone(int processed, const QString& line);
    // The passed and failed counts: photo by photo as the rows are written, and at the end.
    void counts(int passed, int failed);
    void finished();

  private:
    void run(Query& adoPicMsg, BatchOptions options, BatchState state,
             std::function<void(const JudgedPhoto&)> onPhotoStored);
    BatchEvents events(std::function<void(const JudgedPhoto&)> onPhotoStored);

    std::thread thread_;
    std::atomic<bool> stop_{false};
    Outcome outcome_;  // written by the run's thread before it sends finished(), read after wait()
};

}  // namespace photocheck
