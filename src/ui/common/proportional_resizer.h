// Scales every child widget of a window with the window's size, keeping the
// layout drawn for the design size; fonts grow with the window but never
// shrink below their design size.
#pragma once

#include <QFont>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

class QWidget;

namespace ui {

class ProportionalResizer : public QObject {
  Q_OBJECT
 public:
  // Remembers the current geometry of the window's children (and of the
  // children of plain panels) as laid out for `designSize`.  Widgets added
  // later can be registered with add().
  ProportionalResizer(QWidget* window, QSize designSize);
  void add(QWidget* widget);
  // Widgets whose place the window sets itself (caption buttons).
  void exclude(QWidget* widget);
  void apply();
  QRect designGeometry(QWidget* widget) const { return design_.value(widget).geometry; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void addChildrenOf(QWidget* parent);
  struct Design {
    QRect geometry;
    qreal pointSize = 0;
    QPointer<QWidget> widget;
  };
  QWidget* window_;
  QSize designSize_;
  QHash<QWidget*, Design> design_;
};

}  // namespace ui
