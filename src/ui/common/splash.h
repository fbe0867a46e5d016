// The start-up picture: shown centred and on top for half a second while a
// short fade runs, then destroyed.
#pragma once

#include <QWidget>

namespace ui {

class TSplashForm : public QWidget {
  Q_OBJECT
 public:
  explicit TSplashForm(QWidget* parent = nullptr);
  // Shows the picture, runs the transition, waits `ms` and closes.
  void showFor(int ms);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
};

}  // namespace ui
