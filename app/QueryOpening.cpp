#include "app/QueryOpening.h"

#include <exception>
#include <utility>

#include "batch/OperatorMessage.h"

namespace photocheck {
namespace {

const char* const QueryCancelledMessage = "查询已取消";

}  // namespace

QueryOpening::~QueryOpening() {
    cancel();
    take();
}

void QueryOpening::start(std::string statement, size_t rows) {
    take();
    cancelled_ = false;
    outcome_ = {};
    thread_ = std::thread([this, statement = std::move(statement), rows] {
        open(statement, rows);
        emit finished();
    });
}

void QueryOpening::open(const std::string& statement, size_t rows) {
    try {
        outcome_.run = currentResultsRun(db_);
        Query opened(db_);
        if (OpenSql(opened, statement) && rows > 1) opened.fetchMore(rows - 1);
        outcome_.query = std::move(opened);
    } catch (const std::exception& e) {
        outcome_.cancelled = cancelled_;
        outcome_.error = cancelled_ ? QueryCancelledMessage : operatorMessage(e);
    }
}

void QueryOpening::cancel() {
    if (!isWorking()) return;
    cancelled_ = true;
    db_.interrupt();
}

std::optional<QueryOpening::Outcome> QueryOpening::take() {
    if (!thread_.joinable()) return std::nullopt;
    thread_.join();
    return std::exchange(outcome_, {});
}

}  // namespace photocheck
