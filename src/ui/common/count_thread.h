// The stepping of long loads: numbered steps 0 .. count - 1 run one at a time
// on the main thread, 100 ms apart, then an end step.  A step may suspend the
// stepping while it waits for something (a download); whoever finishes that
// work resumes it.  Nothing sleeps: a timer of the main event loop paces the
// steps, so the window keeps painting and taking input between them.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace ui {

class TCountThread : public QObject {
  Q_OBJECT
 public:
  static constexpr int kPauseMs = 100;

  TCountThread(int count, std::function<void(int step)> step, std::function<void()> done,
               QObject* parent = nullptr);

  // The first step runs from the event loop at once.  With no steps at all
  // the end step runs alone.
  void start();
  void suspend() { suspended_ = true; }
  void resume();
  // Drops the remaining steps and the end step (the program is closing).
  void stop();

  bool isSuspended() const { return suspended_; }
  bool isRunning() const { return started_ && !finished_; }
  int count() const { return count_; }
  int nextStep() const { return next_; }

 private:
  void runStep();
  void afterStep();
  void finish();

  QTimer timer_;
  int count_ = 0;
  int next_ = 0;
  std::function<void(int)> step_;
  std::function<void()> done_;
  bool started_ = false;
  bool suspended_ = false;
  bool inStep_ = false;
  bool stepWaiting_ = false;  // a step ended while suspended
  bool finished_ = false;
};

}  // namespace ui
