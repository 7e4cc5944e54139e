#include "shell/ThemeCheckWorker.h"

#include <QMetaObject>
#include <utility>

namespace ssf {

ThemeCheckWorker::ThemeCheckWorker(QObject* parent) : QObject(parent) {
  // One worker: the window keeps the other core, and the thumbnails have their own.
  pool_.setMaxThreadCount(1);
}

ThemeCheckWorker::~ThemeCheckWorker() {
  pool_.clear();
  pool_.waitForDone();
}

void ThemeCheckWorker::Request(DeferredCheck check) {
  // The destructor waits for a running task, so `this` outlives every task; a queued
  // answer whose receiver is gone is dropped by Qt.
  pool_.start([this, check = std::move(check)] {
    std::vector<CheckProblem> problems = CheckThemeFile(check.index, check.stored, check.entry);
    QMetaObject::invokeMethod(
        this,
        [this, index = check.index, ticket = check.ticket, problems = std::move(problems)] {
          emit done(index, ticket, problems);
        },
        Qt::QueuedConnection);
  });
}

void ThemeCheckWorker::WaitForAll() { pool_.waitForDone(); }

}  // namespace ssf
