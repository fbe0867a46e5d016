#include "ui/common/count_thread.h"

namespace ui {

TCountThread::TCountThread(int count, std::function<void(int)> step, std::function<void()> done,
                           QObject* parent)
    : QObject(parent), count_(count), step_(std::move(step)), done_(std::move(done)) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &TCountThread::runStep);
}

void TCountThread::start() {
  if (started_) return;
  started_ = true;
  if (count_ < 1) {
    QTimer::singleShot(0, this, &TCountThread::finish);
    return;
  }
  timer_.start(0);
}

void TCountThread::resume() {
  suspended_ = false;
  // A step that suspended the stepping and ended goes on now; inside the step
  // the end of the step goes on by itself.
  if (stepWaiting_ && !inStep_) {
    stepWaiting_ = false;
    afterStep();
  }
}

void TCountThread::stop() {
  finished_ = true;
  timer_.stop();
  deleteLater();
}

void TCountThread::runStep() {
  if (finished_) return;
  inStep_ = true;
  const int step = next_++;
  if (step_) step_(step);
  inStep_ = false;
  afterStep();
}

void TCountThread::afterStep() {
  if (finished_) return;
  if (suspended_) {
    stepWaiting_ = true;
    return;
  }
  if (next_ >= count_)
    finish();
  else
    timer_.start(kPauseMs);
}

void TCountThread::finish() {
  if (finished_) return;
  finished_ = true;
  if (done_) done_();
  deleteLater();
}

}  // namespace ui
