// Base of every borderless window: painted caption bar, caption buttons,
// dragging by the background, double-click maximise, edge resizing, and a
// keyboard filter (Enter confirms, Escape closes) while the window exists.
#pragma once

#include <QPixmap>
#include <QToolButton>
#include <QWidget>

namespace ui {

// A flat picture button with a normal and a hovered picture.
class PictureButton : public QToolButton {
  Q_OBJECT
 public:
  PictureButton(const QString& normal, const QString& hover, QWidget* parent);
  void setPictures(const QString& normal, const QString& hover);

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QIcon normal_, hover_;
};

class SkinnedWindow : public QWidget {
  Q_OBJECT
 public:
  enum CaptionButton { kMinimise = 1, kMaximise = 2, kClose = 4 };

  SkinnedWindow(const QString& title, const QColor& bar, const QColor& client, int buttons,
                QWidget* parent = nullptr);

  QString captionTitle() const { return title_; }
  void setCaptionTitle(const QString& title);
  // The text painted in the caption bar when it differs from the window title.
  void setPaintedTitle(const QString& title);
  void setBarColour(const QColor& bar);
  void setResizable(bool on) { resizable_ = on; }
  PictureButton* minimiseButton() const { return minimise_; }
  PictureButton* maximiseButton() const { return maximise_; }
  PictureButton* closeButton() const { return close_; }
  const QPixmap& background() const { return background_; }

  // Shows the window, brings it forward, gives `focus` the focus and waits
  // (the events go on) until the window is closed.
  void runModal(QWidget* focus = nullptr);

 signals:
  void confirmed();  // Enter
  void cancelled();  // Escape
  void closed();

 protected:
  // What the caption's close button does; closes the window by default.
  virtual void closeButtonClicked() { close(); }
  virtual void toggleMaximised();
  virtual void repaintBackground();

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  Qt::Edges edgesAt(const QPoint& pos) const;
  void placeCaptionButtons();
  void updateMaximiseButton();

  QString title_;
  QString paintedTitle_;
  QColor bar_, client_;
  QPixmap background_;
  PictureButton* minimise_ = nullptr;
  PictureButton* maximise_ = nullptr;
  PictureButton* close_ = nullptr;
  bool resizable_ = false;
};

}  // namespace ui
