#include "ui/common/splash.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QPropertyAnimation>
#include <QScreen>
#include <QTimer>

#include "ui/common/resources.h"

namespace ui {

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setAttribute(Qt::WA_TranslucentBackground);
  picture_ = loadPixmap(QStringLiteral("IMAGE_HELLO"));
  resize(picture_.isNull() ? QSize(400, 250) : picture_.size());
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - rect().center());
}

void TSplashForm::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!picture_.isNull()) p.drawPixmap(0, 0, picture_);
}

void TSplashForm::showFor(int ms) {
  setWindowOpacity(0.0);
  show();
  raise();
  auto* fade = new QPropertyAnimation(this, "windowOpacity", this);
  fade->setDuration(qMax(1, ms * 3 / 5));
  fade->setStartValue(0.0);
  fade->setEndValue(1.0);
  fade->start(QAbstractAnimation::DeleteWhenStopped);
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  close();
}

}  // namespace ui
