#include "ui/common/proportional_resizer.h"

#include <QEvent>
#include <QWidget>

#include <cmath>

namespace ui {

namespace {

// Plain panels hold laid-out children of their own; composite widgets (grids,
// trees, the month calendar) place their inner parts themselves.
bool isPlainContainer(const QWidget* widget) {
  const char* name = widget->metaObject()->className();
  return qstrcmp(name, "QWidget") == 0 || qstrcmp(name, "QFrame") == 0;
}

}  // namespace

ProportionalResizer::ProportionalResizer(QWidget* window, QSize designSize)
    : QObject(window), window_(window), designSize_(designSize) {
  addChildrenOf(window);
  window->installEventFilter(this);
}

void ProportionalResizer::addChildrenOf(QWidget* parent) {
  for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isWindow()) continue;
    add(child);
    if (isPlainContainer(child)) addChildrenOf(child);
  }
}

void ProportionalResizer::add(QWidget* widget) {
  design_.insert(widget, Design{widget->geometry(), widget->font().pointSizeF(), widget});
}

void ProportionalResizer::exclude(QWidget* widget) { design_.remove(widget); }

void ProportionalResizer::apply() {
  if (designSize_.isEmpty()) return;
  const double fx = double(window_->width()) / designSize_.width();
  const double fy = double(window_->height()) / designSize_.height();
  const double ff = std::max(1.0, std::min(fx, fy));
  for (const Design& d : std::as_const(design_)) {
    if (!d.widget) continue;
    const QRect g = d.geometry;
    const int left = int(std::lround(g.x() * fx));
    const int top = int(std::lround(g.y() * fy));
    const int right = int(std::lround((g.x() + g.width()) * fx));
    const int bottom = int(std::lround((g.y() + g.height()) * fy));
    // A widget of fixed size keeps it and only moves.
    if (d.widget->minimumSize() == d.widget->maximumSize())
      d.widget->move(left, top);
    else
      d.widget->setGeometry(left, top, right - left, bottom - top);
    if (d.pointSize > 0) {
      QFont font = d.widget->font();
      font.setPointSizeF(d.pointSize * ff);
      d.widget->setFont(font);
    }
  }
}

bool ProportionalResizer::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && event->type() == QEvent::Resize) apply();
  return QObject::eventFilter(watched, event);
}

}  // namespace ui
