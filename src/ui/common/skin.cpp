#include "ui/common/skin.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

#include "ui/common/resources.h"

namespace ui {
namespace {

int gTitleFontSize = 9;

void drawIcon(QPainter& p, const QString& name) {
  QPixmap icon = loadPixmap(name);
  if (icon.isNull()) return;
  if (icon.width() != 16) icon = icon.scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  p.drawPixmap(9, 7, icon);
}

void drawTitle(QPainter& p, const QString& title, int x, int y, const QColor& colour) {
  QFont font = koreanFont(titleFontSize(), true);
  p.setFont(font);
  p.setPen(colour);
  const QFontMetrics fm(font);
  p.drawText(QPoint(x, y + fm.ascent()), title);
}

QPixmap filledBase(int width, int height, const QColor& bar, const QColor& client) {
  QPixmap image(qMax(width, 1), qMax(height, 1));
  image.fill(bar);
  QPainter p(&image);
  p.fillRect(2, 30, width - 4, height - 32, client);
  return image;
}

}  // namespace

int titleFontSize() { return gTitleFontSize; }
void setTitleFontSize(int points) { gTitleFontSize = points > 0 ? points : 9; }

QString koreanFontFamily() {
  static const QString family = [] {
    const QStringList families = QFontDatabase::families();
    for (const char* name : {"맑은 고딕", "Malgun Gothic", "Noto Sans CJK KR", "Noto Sans KR",
                             "NanumGothic", "Nanum Gothic", "UnDotum"}) {
      if (families.contains(QString::fromUtf8(name), Qt::CaseInsensitive)) return QString::fromUtf8(name);
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  }();
  return family;
}

QFont koreanFont(int pointSize, bool bold) {
  QFont font(koreanFontFamily(), pointSize);
  font.setBold(bold);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

QPixmap paintCaption(const QString& title, int width, int height, const QColor& bar,
                     const QColor& client) {
  QPixmap image = filledBase(width, height, bar, client);
  QPainter p(&image);
  p.setRenderHint(QPainter::TextAntialiasing);
  drawIcon(p, QStringLiteral("IMAGE_GOOGLE"));
  drawTitle(p, title, 30, 8, Qt::white);
  return image;
}

QPixmap paintCaptionIcon(const QString& iconName, const QString& title, int width, int height,
                         const QColor& bar, const QColor& client, const QColor& shadow) {
  QPixmap image = filledBase(width, height, bar, client);
  QPainter p(&image);
  p.setRenderHint(QPainter::TextAntialiasing);
  drawIcon(p, iconName);
  drawTitle(p, title, 30, 9, shadow);
  drawTitle(p, title, 29, 8, Qt::white);
  return image;
}

void paintTitle(QPixmap& image, const QString& title, int width, const QColor& bar) {
  QPainter p(&image);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.fillRect(27, 7, width - 27, 16, bar);
  drawTitle(p, title, 27, 8, Qt::white);
}

QPixmap paintFrame(int width, int height, const QColor& bar, const QColor& client) {
  QPixmap image(qMax(width, 1), qMax(height, 1));
  image.fill(bar);
  QPainter p(&image);
  p.fillRect(2, 2, width - 4, height - 4, client);
  return image;
}

QPoint keepOnScreen(int x, int y, int width, int height, const QRect& screen, const QRect& workArea) {
  x = qMax(x, 0);
  y = qMax(y, 0);
  if (x + width > screen.width()) x = screen.width() - width;
  if (y + height > workArea.height()) y = workArea.height() - height;
  return {x, y};
}

QPoint keepOnScreen(int x, int y, int width, int height) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {x, y};
  return keepOnScreen(x, y, width, height, screen->geometry(), screen->availableGeometry());
}

void installHintStyle(QApplication& app) {
  QPalette palette = QToolTip::palette();
  palette.setColor(QPalette::ToolTipBase, kHintColour);
  palette.setColor(QPalette::ToolTipText, Qt::black);
  QToolTip::setPalette(palette);
  QToolTip::setFont(koreanFont(titleFontSize()));
  app.setStyleSheet(app.styleSheet() +
                    QStringLiteral("QToolTip { background-color: rgb(252,223,255); color: black; "
                                   "border: 1px solid rgb(160,120,200); }"));
}

}  // namespace ui
