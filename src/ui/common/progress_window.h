// The progress window: the picture IMAGE_PROGRESS with a text and a bar,
// always on top, closed by a click.  One window is reused by every call.
#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace ui {

class TFrmProgress : public QWidget {
  Q_OBJECT
 public:
  TFrmProgress();

  // With count above 0 the text is followed by "(position/count)" and the bar
  // shows the share done; otherwise the text alone.
  void setProgress(const QString& text, int position, int count);

  QLabel* LblText = nullptr;
  QProgressBar* PrgBar = nullptr;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QPixmap picture_;
};

// Creates and shows the window on the first call, then updates it.
void showProgress(QWidget* owner, const QString& text, int position, int count);
// Frees the window (when the busy indication goes off).
void closeProgress();
// The window while it exists, else nullptr.
TFrmProgress* progressWindow();

}  // namespace ui
