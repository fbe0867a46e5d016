#include "ui/google/network_wait.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace ui {

base::HttpResponse EventLoopHttpClient::send(const base::HttpRequest& request) {
  base::HttpResponse response;
  QEventLoop loop;
  QThread* worker = QThread::create([&] { response = inner_.send(request); });
  QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
  worker->start();
  // The finished signal is queued to this thread, so it cannot be missed
  // even when the call ends before the loop starts.
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  worker->wait();
  delete worker;
  return response;
}

void waitWithoutInput(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace ui
