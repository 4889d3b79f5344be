#pragma once
#include <QObject>
#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "batch/ResultsRun.h"
#include "store/Database.h"

namespace photocheck {

// A statement of the results opened on a thread of its own, with its first rows read and the run they
// belong to (read first, see ResultsRun), so that the window goes on painting and answering while the
// engine works; the engine's time is bounded (QueryTimeLimit), and cancel() stops it at once. From
// start() until take() has given the outcome, the connection belongs to the opening: the window
// leaves it alone.
class QueryOpening : public QObject {
    Q_OBJECT
  public:
    struct Outcome {
        std::optional<Query> query;  // none when the engine refused the statement or was stopped
        ResultsRun run = 0;
        std::string error;  // why there is none, in the operator's words
        bool cancelled = false;
    };

    QueryOpening(Database& db, QObject* parent) : QObject(parent), db_(db) {}
    ~QueryOpening() override;  // cancels an opening still working and waits for it
    QueryOpening(const QueryOpening&) = delete;
    QueryOpening& operator=(const QueryOpening&) = delete;

    // Opens the statement and reads up to `rows` rows; finished() follows.
    void start(std::string statement, size_t rows);
    bool isWorking() const { return thread_.joinable(); }
    void cancel();
    // Waits for the opening's thread and gives its outcome, once; none when nothing was started since.
    std::optional<Outcome> take();

  signals:
    void finished();

  private:
    void open(const std::string& statement, size_t rows);

    Database& db_;
    std::thread thread_;
    std::atomic<bool> cancelled_{false};
    Outcome outcome_;  // written by the thread before it sends finished()
};

}  // namespace photocheck
