#pragma once
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "batch/JudgePhoto.h"
#include "platform/FileList.h"

namespace photocheck {

// Judges the photos of a list on several threads, each with a check context of its own, and hands
// the results out strictly in list order. Only a few photos per thread are judged ahead of the one
// handed out last, so memory does not grow with the length of the list. With one thread the photos
// are judged one after the other on the caller's thread, all with the same context.
class OrderedChecks {
  public:
    // Work on a judged photo that need not wait for its turn, done on the thread that judged it: the
    // photo and its index in the list. It is not called for a photo whose check raised an error.
    using AfterJudging = std::function<void(const JudgedPhoto& photo, size_t index)>;

    OrderedChecks(const FileList& paths, int threads, const CheckSettings& settings,
                  AfterJudging afterJudging = {});
    ~OrderedChecks();
    OrderedChecks(const OrderedChecks&) = delete;
    OrderedChecks& operator=(const OrderedChecks&) = delete;

    // The judged photo at the next index of the list; an error its check raised is raised here.
    JudgedPhoto next();

  private:
    struct Outcome {
        JudgedPhoto photo;
        std::exception_ptr error;
    };

    void work(const CheckSettings& settings);
    void stopWorkers();
    Outcome judge(CheckContext& ctx, size_t index) const;

    const FileList& paths_;
    const size_t aheadLimit_;
    const AfterJudging afterJudging_;
    const Keep keep_;
    size_t handedOut_ = 0;
    std::unique_ptr<CheckContext> callerContext_;  // the one context when there are no workers

    std::mutex mutex_;
    std::condition_variable changed_;
    size_t dispatched_ = 0;
    std::map<size_t, Outcome> done_;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace photocheck
