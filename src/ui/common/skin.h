// The skinned look shared by every window: the caption bar painted into the
// window's background picture, the Korean UI font and the hint style.
#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>

class QApplication;

namespace ui {

inline const QColor kMainBarColour{88, 0, 176};
inline const QColor kMainClientColour{242, 242, 242};
inline const QColor kHintColour{252, 223, 255};
inline const QColor kFocusedEditColour{223, 254, 143};

// Process-wide title font size (points), set by the first window that knows it.
int titleFontSize();
void setTitleFontSize(int points);

// "맑은 고딕" when installed, else the system's Korean sans font.
QString koreanFontFamily();
QFont koreanFont(int pointSize, bool bold = false);

// Standard background: bar colour everywhere, the 16 x 16 program icon at
// (9, 7), the title in white bold at (30, 8), the client colour inside a
// 2-pixel frame below the 30-pixel bar.
QPixmap paintCaption(const QString& title, int width, int height, const QColor& bar,
                     const QColor& client);
// Variant with a named icon and a shadowed title.
QPixmap paintCaptionIcon(const QString& iconName, const QString& title, int width, int height,
                         const QColor& bar, const QColor& client, const QColor& shadow);
// Repaints only the title strip of an existing background.
void paintTitle(QPixmap& image, const QString& title, int width, const QColor& bar);
// Only the 2-pixel frame.
QPixmap paintFrame(int width, int height, const QColor& bar, const QColor& client);

// Moves a rectangle so that it lies within the screen (x) and work area (y).
QPoint keepOnScreen(int x, int y, int width, int height, const QRect& screen, const QRect& workArea);
QPoint keepOnScreen(int x, int y, int width, int height);  // primary screen

// The hint window style: light violet background, the Korean font.
void installHintStyle(QApplication& app);

}  // namespace ui
