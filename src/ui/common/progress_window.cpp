#include "ui/common/progress_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>

#include "ui/common/resources.h"
#include "ui/common/skin.h"

namespace ui {
namespace {

QPointer<TFrmProgress> gProgress;

void centreOver(QWidget* window, const QWidget* owner) {
  QRect area;
  if (owner && owner->window()->isVisible())
    area = owner->window()->frameGeometry();
  else if (const QScreen* screen = QGuiApplication::primaryScreen())
    area = screen->availableGeometry();
  if (area.isValid()) window->move(area.center() - window->rect().center());
}

}  // namespace

TFrmProgress::TFrmProgress() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("TFrmProgress"));
  setAttribute(Qt::WA_DeleteOnClose);
  picture_ = loadPixmap(QStringLiteral("IMAGE_PROGRESS"));
  resize(picture_.isNull() ? QSize(227, 87) : picture_.size());
  LblText = new QLabel(this);
  LblText->setFont(koreanFont(9));
  LblText->setAlignment(Qt::AlignCenter);
  LblText->setGeometry(10, 32, width() - 20, 20);
  PrgBar = new QProgressBar(this);
  PrgBar->setRange(0, 100);
  PrgBar->setTextVisible(false);
  PrgBar->setGeometry(20, 58, width() - 40, 12);
}

void TFrmProgress::setProgress(const QString& text, int position, int count) {
  if (count > 0) {
    LblText->setText(QStringLiteral("%1(%2/%3)").arg(text).arg(position).arg(count));
    const int percent = qRound(position * 100.0 / count);
    PrgBar->setValue(qBound(0, percent, 100));
  } else {
    LblText->setText(text);
  }
}

void TFrmProgress::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (picture_.isNull())
    p.fillRect(rect(), kMainClientColour);
  else
    p.drawPixmap(0, 0, picture_);
}

void TFrmProgress::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) close();
}

void showProgress(QWidget* owner, const QString& text, int position, int count) {
  if (!gProgress) {
    gProgress = new TFrmProgress;
    centreOver(gProgress, owner);
  }
  gProgress->setProgress(text, position, count);
  gProgress->show();
  gProgress->raise();
}

void closeProgress() { delete gProgress.data(); }

TFrmProgress* progressWindow() { return gProgress.data(); }

}  // namespace ui
