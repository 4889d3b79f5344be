#include "batch/OrderedChecks.h"

#include <stdexcept>

namespace photocheck {
namespace {

constexpr size_t PhotosAheadPerThread = 2;

}  // namespace

OrderedChecks::OrderedChecks(const FileList& paths, int threads, const CheckSettings& settings,
                             AfterJudging afterJudging)
    : paths_(paths),
      aheadLimit_(PhotosAheadPerThread * static_cast<size_t>(threads > 1 ? threads : 1)),
      afterJudging_(std::move(afterJudging)),
      keep_(settings.keepMeasurements ? Keep::RowAndMeasurements : Keep::Row) {
    if (threads <= 1) {
        callerContext_ = std::make_unique<CheckContext>();
        applySettings(*callerContext_, settings);
        return;
    }
    workers_.reserve(static_cast<size_t>(threads));
    try {
        for (int i = 0; i < threads; ++i) workers_.emplace_back([this, settings] { work(settings); });
    } catch (...) {
        stopWorkers();
        throw;
    }
}

OrderedChecks::~OrderedChecks() {
    stopWorkers();
}

// A worker finishes the photo it is judging, then ends.
void OrderedChecks::stopWorkers() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_)
        if (worker.joinable()) worker.join();
}

OrderedChecks::Outcome OrderedChecks::judge(CheckContext& ctx, size_t index) const {
    Outcome outcome;
    try {
        outcome.photo = JudgePhoto(ctx, paths_.path(index), Unreadable::FailTheRow, keep_);
        if (afterJudging_) afterJudging_(outcome.photo, index);
    } catch (...) {
        outcome.error = std::current_exception();
    }
    return outcome;
}

void OrderedChecks::work(const CheckSettings& settings) {
    CheckContext ctx;
    applySettings(ctx, settings);
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] {
            return stopping_ || (dispatched_ < paths_.size() && dispatched_ < handedOut_ + aheadLimit_);
        });
        if (stopping_) return;
        const size_t index = dispatched_++;
        lock.unlock();
        Outcome outcome = judge(ctx, index);
        lock.lock();
        done_.emplace(index, std::move(outcome));
        changed_.notify_all();
    }
}

JudgedPhoto OrderedChecks::next() {
    const size_t index = handedOut_;
    if (index >= paths_.size()) throw std::out_of_range("OrderedChecks: every photo has been handed out");
    Outcome outcome;
    if (callerContext_) {
        outcome = judge(*callerContext_, index);
        ++handedOut_;
    } else {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return done_.count(index) != 0; });
        outcome = std::move(done_.at(index));
        done_.erase(index);
        ++handedOut_;
        lock.unlock();
        changed_.notify_all();
    }
    if (outcome.error) std::rethrow_exception(outcome.error);
    return std::move(outcome.photo);
}

}  // namespace photocheck
