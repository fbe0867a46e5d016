#include "ui/common/skinned_window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "ui/common/resources.h"
#include "ui/common/skin.h"

namespace ui {
namespace {
constexpr int kResizeMargin = 4;
constexpr int kCaptionHeight = 30;
}  // namespace

PictureButton::PictureButton(const QString& normal, const QString& hover, QWidget* parent)
    : QToolButton(parent) {
  setAutoRaise(true);
  setFocusPolicy(Qt::NoFocus);
  setCursor(Qt::PointingHandCursor);
  setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; padding: 0; }"));
  setPictures(normal, hover);
}

void PictureButton::setPictures(const QString& normal, const QString& hover) {
  const QPixmap n = loadPixmap(normal);
  const QPixmap h = loadPixmap(hover);
  normal_ = QIcon(n);
  hover_ = QIcon(h.isNull() ? n : h);
  if (!n.isNull()) {
    setIconSize(n.size());
    resize(n.size());
  }
  setIcon(underMouse() ? hover_ : normal_);
}

void PictureButton::enterEvent(QEnterEvent* event) {
  setIcon(hover_);
  QToolButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event) {
  setIcon(normal_);
  QToolButton::leaveEvent(event);
}

SkinnedWindow::SkinnedWindow(const QString& title, const QColor& bar, const QColor& client,
                             int buttons, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), title_(title), bar_(bar), client_(client) {
  setWindowTitle(title);
  setMouseTracking(true);
  if (buttons & kMinimise) {
    minimise_ = new PictureButton("IMAGE_MINIMIZE", "IMAGE_MINIMIZE_ON", this);
    minimise_->setToolTip(QStringLiteral("최소화"));
    connect(minimise_, &QToolButton::clicked, this, &QWidget::showMinimized);
  }
  if (buttons & kMaximise) {
    maximise_ = new PictureButton("IMAGE_MAXMIZE", "IMAGE_MAXMIZE_ON", this);
    maximise_->setToolTip(QStringLiteral("최대화"));
    connect(maximise_, &QToolButton::clicked, this, [this] { toggleMaximised(); });
  }
  if (buttons & kClose) {
    close_ = new PictureButton("IMAGE_CLOSE", "IMAGE_CLOSE_ON", this);
    close_->setToolTip(QStringLiteral("닫기"));
    connect(close_, &QToolButton::clicked, this, [this] { closeButtonClicked(); });
  }
}

void SkinnedWindow::setCaptionTitle(const QString& title) {
  title_ = title;
  setWindowTitle(title);
  repaintBackground();
}

void SkinnedWindow::runModal(QWidget* focus) {
  QEventLoop loop;
  connect(this, &SkinnedWindow::closed, &loop, &QEventLoop::quit);
  show();
  raise();
  activateWindow();
  if (focus) focus->setFocus();
  if (isVisible()) loop.exec();
}

void SkinnedWindow::setPaintedTitle(const QString& title) {
  paintedTitle_ = title;
  repaintBackground();
}

void SkinnedWindow::setBarColour(const QColor& bar) {
  bar_ = bar;
  repaintBackground();
}

void SkinnedWindow::repaintBackground() {
  background_ = paintCaption(paintedTitle_.isEmpty() ? title_ : paintedTitle_, width(), height(), bar_, client_);
  update();
}

void SkinnedWindow::toggleMaximised() {
  if (isMaximized())
    showNormal();
  else
    showMaximized();
}

void SkinnedWindow::updateMaximiseButton() {
  if (!maximise_) return;
  if (isMaximized()) {
    maximise_->setPictures("IMAGE_NORMAL", "IMAGE_NORMAL_ON");
    maximise_->setToolTip(QStringLiteral("원래 화면크기로"));
  } else {
    maximise_->setPictures("IMAGE_MAXMIZE", "IMAGE_MAXMIZE_ON");
    maximise_->setToolTip(QStringLiteral("최대화"));
  }
}

void SkinnedWindow::placeCaptionButtons() {
  const int w = width();
  if (minimise_) minimise_->move(w - 47, 10);
  if (maximise_) maximise_->move(w - 34, 10);
  if (close_) close_->move(w - 21, 10);
  for (QWidget* b : {static_cast<QWidget*>(minimise_), static_cast<QWidget*>(maximise_),
                     static_cast<QWidget*>(close_)})
    if (b) b->raise();
}

void SkinnedWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, background_);
}

void SkinnedWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  repaintBackground();
  placeCaptionButtons();
}

Qt::Edges SkinnedWindow::edgesAt(const QPoint& pos) const {
  Qt::Edges edges;
  if (!resizable_ || isMaximized()) return edges;
  if (pos.x() < kResizeMargin) edges |= Qt::LeftEdge;
  if (pos.x() >= width() - kResizeMargin) edges |= Qt::RightEdge;
  if (pos.y() < kResizeMargin) edges |= Qt::TopEdge;
  if (pos.y() >= height() - kResizeMargin) edges |= Qt::BottomEdge;
  return edges;
}

void SkinnedWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  QWindow* handle = windowHandle();
  if (!handle) return;
  const Qt::Edges edges = edgesAt(event->position().toPoint());
  if (edges)
    handle->startSystemResize(edges);
  else
    handle->startSystemMove();
  event->accept();
}

void SkinnedWindow::mouseMoveEvent(QMouseEvent* event) {
  const Qt::Edges edges = edgesAt(event->position().toPoint());
  if ((edges & Qt::LeftEdge && edges & Qt::TopEdge) || (edges & Qt::RightEdge && edges & Qt::BottomEdge))
    setCursor(Qt::SizeFDiagCursor);
  else if ((edges & Qt::RightEdge && edges & Qt::TopEdge) || (edges & Qt::LeftEdge && edges & Qt::BottomEdge))
    setCursor(Qt::SizeBDiagCursor);
  else if (edges & (Qt::LeftEdge | Qt::RightEdge))
    setCursor(Qt::SizeHorCursor);
  else if (edges & (Qt::TopEdge | Qt::BottomEdge))
    setCursor(Qt::SizeVerCursor);
  else
    unsetCursor();
  QWidget::mouseMoveEvent(event);
}

void SkinnedWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  if (maximise_ && event->button() == Qt::LeftButton && event->position().y() < kCaptionHeight) {
    toggleMaximised();
    event->accept();
    return;
  }
  QWidget::mouseDoubleClickEvent(event);
}

void SkinnedWindow::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      emit confirmed();
      event->accept();
      return;
    case Qt::Key_Escape:
      emit cancelled();
      if (close_) close_->click();
      event->accept();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

void SkinnedWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (event->isAccepted()) emit closed();
}

void SkinnedWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) updateMaximiseButton();
  QWidget::changeEvent(event);
}

}  // namespace ui
