// Helpers shared by the window tests: the offscreen application, screenshots
// and answering modal windows.
#pragma once

#include <QApplication>
#include <QDir>
#include <QInputMethodEvent>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace uitest {

inline QApplication& application() {
  static int argc = 1;
  static char name[] = "ui_tests";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

inline QString screenshotFolder() {
  QString folder =
      qEnvironmentVariable("DAYBOOK_SCREENSHOTS", QStringLiteral(DAYBOOK_BINARY_DIR "/screenshots"));
  QDir().mkpath(folder);
  return folder;
}

inline bool saveScreenshot(QWidget* widget, const QString& name) {
  return widget->grab().save(screenshotFolder() + "/" + name + ".png");
}

// Types text the way an input method commits it, one character at a time
// (Korean syllables have no key codes).
inline void typeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QInputMethodEvent event;
    event.setCommitString(QString(c));
    QApplication::sendEvent(widget, &event);
  }
}

// Calls `answer` with the first modal window of type W that shows up (polled
// from the event loop, so it works while a nested loop runs).
template <class W>
void whenModal(std::function<void(W*)> answer) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    W* found = qobject_cast<W*>(QApplication::activeModalWidget());
    if (!found || !found->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    answer(found);
  });
  timer->start();
}

}  // namespace uitest
