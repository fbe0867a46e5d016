#include "ui/common/notice_window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QMetaMethod>
#include <QMovie>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "app/settings.h"
#include "ui/common/resources.h"
#include "ui/common/skin.h"

namespace ui {
namespace {

const QColor kNoticeBarColour{46, 146, 81};
const QColor kTextColour{24, 92, 48};
const QColor kShadowColour{190, 225, 200};

constexpr int kBaseWidth = 250;
constexpr int kBaseHeight = 168;
constexpr int kLineStep = 20;
constexpr int kTextTop = 88;
constexpr int kSlideMs = 200;

// A label whose text may carry a soft shadow one pixel down and right.
class ShadowLabel : public QLabel {
 public:
  ShadowLabel(const QString& text, bool shadow, QWidget* parent) : QLabel(text, parent), shadow_(shadow) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font());
    if (shadow_) {
      p.setPen(kShadowColour);
      p.drawText(rect().translated(1, 1), int(alignment()), text());
    }
    p.setPen(kTextColour);
    p.drawText(rect(), int(alignment()), text());
  }

 private:
  bool shadow_;
};

QString widestLine(const QStringList& lines) {
  QString widest;
  for (const QString& line : lines)
    if (line.size() > widest.size()) widest = line;
  return widest;
}

}  // namespace

TFrmHi::TFrmHi(const QStringList& lines, Mode mode, QWidget* owner)
    : SkinnedWindow(QStringLiteral("데이북 알림"), kNoticeBarColour, kMainClientColour, kClose, nullptr),
      lines_(lines.isEmpty() ? QStringList{QString()} : lines),
      mode_(mode),
      owner_(owner) {
  setObjectName(QStringLiteral("TFrmHi"));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setFont(koreanFont(9));
  createContent();
  placeContent();

  TmrClose = new QTimer(this);
  TmrClose->setSingleShot(true);
  TmrClose->setInterval(kCloseAfterMs);
  connect(TmrClose, &QTimer::timeout, this, &TFrmHi::finish);
  connect(BtnOk, &QPushButton::clicked, this, &TFrmHi::finish);
  // Enter reaches the window only while it (or its button) has the focus.
  connect(this, &SkinnedWindow::confirmed, BtnOk, &QPushButton::click);
}

void TFrmHi::createContent() {
  const bool shadow = mode_ == Mode::Notice;
  ImgCheer = new QLabel(this);
  ImgCheer->setAlignment(Qt::AlignCenter);
  if (QMovie* movie = loadMovie(QStringLiteral("IMAGE_CHEER"), ImgCheer))
    ImgCheer->setMovie(movie);
  LblMain = new ShadowLabel(lines_.first(), shadow, this);
  LblMain->setFont(koreanFont(10, true));
  LblMain->setAlignment(Qt::AlignCenter);
  for (int i = 1; i < lines_.size(); ++i) {
    const QString& text = lines_.at(i);
    const bool heading = text.contains('[');
    QLabel* label = heading ? new ShadowLabel(text, shadow, this) : new QLabel(text, this);
    label->setFont(heading ? LblMain->font() : koreanFont(9));
    label->setAlignment(heading ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    LblLines << label;
  }
  BtnOk = new QPushButton(QStringLiteral("확인(&O)"), this);
  BtnOk->setFont(koreanFont(9));
}

void TFrmHi::placeContent() {
  const QFontMetrics metrics(LblMain->font());
  const int labelWidth = metrics.horizontalAdvance(widestLine(lines_)) + 8;
  int width = kBaseWidth;
  if (mode_ == Mode::Notice && labelWidth > 200) width = labelWidth + 50;
  if (mode_ == Mode::Message && labelWidth > 275) width = labelWidth + 68;
  const int height = kBaseHeight + kLineStep * int(LblLines.size());
  resize(width, height);

  ImgCheer->setGeometry(0, 36, width, 48);
  LblMain->setGeometry(10, kTextTop, width - 20, kLineStep);
  for (int i = 0; i < LblLines.size(); ++i) {
    QLabel* label = LblLines.at(i);
    const int top = kTextTop + kLineStep * (i + 1);
    if (label->alignment() & Qt::AlignHCenter)
      label->setGeometry(10, top, width - 20, kLineStep);
    else
      label->setGeometry(15, top, width - 25, kLineStep);
  }
  BtnOk->setGeometry((width - 90) / 2, height - 40, 90, 28);
}

void TFrmHi::showEvent(QShowEvent* event) {
  SkinnedWindow::showEvent(event);
  if (mode_ == Mode::Notice && !finished_) TmrClose->start();
  BtnOk->setFocus();
  slideIn();
}

void TFrmHi::slideIn() {
  if (slid_) return;
  slid_ = true;
  auto* slide = new QPropertyAnimation(this, "pos", this);
  slide->setDuration(kSlideMs);
  slide->setStartValue(pos() - QPoint(0, height()));
  slide->setEndValue(pos());
  slide->setEasingCurve(QEasingCurve::OutCubic);
  slide->start(QAbstractAnimation::DeleteWhenStopped);
}

void TFrmHi::finish() {
  if (finished_) return;
  finished_ = true;
  TmrClose->stop();
  if (mode_ == Mode::Message) {
    emit mediaStopRequested();
    close();
    return;
  }
  const app::AppSettings& s = app::settings();
  if (s.noAccountStored && LblMain->text().contains(QStringLiteral("유튜브 저장"))) mark_ = kMarkWhatsNew;
  hide();
  // The slot's owner frees the window; without one it just closes.
  if (isSignalConnected(QMetaMethod::fromSignal(&TFrmHi::noticeClosed)))
    emit noticeClosed(slot_);
  else
    close();
}

void TFrmHi::closeEvent(QCloseEvent* event) {
  // Closed from outside (window manager): behave as if the user pressed OK.
  if (!finished_) finish();
  SkinnedWindow::closeEvent(event);
}

void TFrmHi::execModal() {
  setWindowModality(Qt::ApplicationModal);
  const QWidget* owner = owner_ ? owner_->window() : nullptr;
  QRect area;
  if (owner && owner->isVisible())
    area = owner->frameGeometry();
  else if (const QScreen* screen = QGuiApplication::primaryScreen())
    area = screen->availableGeometry();
  if (area.isValid()) move(area.center() - rect().center());
  runModal();
}

}  // namespace ui
