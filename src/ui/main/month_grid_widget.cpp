#include "ui/main/month_grid_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <span>

#include "ui/common/resources.h"
#include "ui/common/skin.h"

namespace ui {
namespace {

constexpr int kMarkSize = 16;
constexpr QPoint kMarkOffset{7, 2};

QColor colourOf(calendar::Rgb rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }
calendar::Rgb rgbOf(const QColor& colour) { return colour.rgb() & 0xFFFFFFu; }

std::span<std::uint32_t> pixelsOf(QImage& image) {
  return {reinterpret_cast<std::uint32_t*>(image.bits()),
          static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height())};
}

// Magenta pixels of a mark picture are transparent.
QImage withMagentaTransparent(QImage image) {
  image = image.convertToFormat(QImage::Format_ARGB32);
  for (std::uint32_t& p : pixelsOf(image))
    if ((p & 0xFFFFFFu) == 0xFF00FFu) p = 0;
  return image;
}

}  // namespace

MonthGrid::MonthGrid(QWidget* parent, QSize cellSize) : QWidget(parent), cellSize_(cellSize) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(sizeHint());
}

QSize MonthGrid::sizeHint() const {
  return {cellSize_.width() * calendar::kGridColumns, cellSize_.height() * calendar::kGridRows};
}

void MonthGrid::setMonth(const calendar::MonthLayout& layout, const calendar::CellEntries& entries,
                         calendar::TokenLookup lookup) {
  layout_ = layout;
  entries_ = entries;
  lookup_ = std::move(lookup);
  update();
}

const std::vector<std::string>& MonthGrid::tokensOf(int cell) const {
  static const std::vector<std::string> none;
  return cell >= 0 && cell < calendar::kGridCells ? entries_.tokens[cell] : none;
}

QRect MonthGrid::cellRect(int cell) const {
  return {calendar::cellColumn(cell) * cellSize_.width(), calendar::cellRow(cell) * cellSize_.height(),
          cellSize_.width(), cellSize_.height()};
}

int MonthGrid::cellAt(const QPoint& pos) const {
  if (pos.x() < 0 || pos.y() < 0) return -1;
  const int column = pos.x() / cellSize_.width();
  const int row = pos.y() / cellSize_.height();
  if (column >= calendar::kGridColumns || row >= calendar::kGridRows) return -1;
  return row * calendar::kGridColumns + column;
}

void MonthGrid::setCurrentCell(int cell) {
  if (cell < 0 || cell >= calendar::kGridCells || cell == current_) return;
  if (current_ >= 0) update(cellRect(current_));
  current_ = cell;
  update(cellRect(cell));
}

void MonthGrid::setHoverCell(int cell) {
  if (cell == hover_) return;
  if (hover_ >= 0) update(cellRect(hover_));
  hover_ = cell;
  if (cell >= 0) update(cellRect(cell));
}

QColor MonthGrid::backgroundOf(int cell) const {
  if (highlighted(cell) || cell == layout_.todayCell) return colourOf(calendar::kSelectedCell);
  if (!lookup_) return colourOf(calendar::kEmptyCell);
  return colourOf(calendar::cellBackground(tokensOf(cell), lookup_));
}

QImage MonthGrid::picture(const std::string& name) const {
  const QString key = QString::fromStdString(name);
  auto it = pictures_.constFind(key);
  if (it != pictures_.constEnd()) return *it;
  QImage image;
  if (!name.empty()) {
    image = loadImage(key);
    if (!image.isNull()) image = withMagentaTransparent(image);
  }
  pictures_.insert(key, image);
  return image;
}

QImage MonthGrid::fadedMark(const std::string& token, const QColor& background) const {
  QImage square(kMarkSize, kMarkSize, QImage::Format_RGB32);
  square.fill(background);
  const QImage mark = picture(calendar::markPictureName(lookup_(token)));
  if (!mark.isNull()) {
    QPainter p(&square);
    p.drawImage(QRect(0, 0, kMarkSize, kMarkSize), mark);
  }
  calendar::fadeMark(pixelsOf(square), rgbOf(background));
  return square;
}

QImage MonthGrid::markOf(int cell, const QColor& background) const {
  const std::vector<std::string>& tokens = tokensOf(cell);
  if (tokens.empty() || !lookup_) return {};
  QImage mark = fadedMark(tokens.front(), background);
  for (std::size_t i = 1; i < tokens.size(); ++i) {
    QImage other = fadedMark(tokens[i], background);
    calendar::blendMarks(pixelsOf(mark), pixelsOf(other), rgbOf(background));
  }
  return mark;
}

void MonthGrid::drawCell(QPainter& painter, int cell, bool selected) {
  const QRect r = cellRect(cell);
  const QColor background = backgroundOf(cell);
  painter.fillRect(r, background);
  painter.setPen(colourOf(calendar::kCellEdge));
  painter.drawLine(r.topLeft(), r.topRight());
  painter.drawLine(r.topLeft(), r.bottomLeft());

  const QImage mark = markOf(cell, background);
  if (!mark.isNull()) painter.drawImage(r.topLeft() + kMarkOffset, mark);

  const bool today = cell == layout_.todayCell;
  calendar::DayNumberState state;
  state.inMonth = calendar::inShownMonth(layout_, cell);
  state.highlighted = selected;
  state.today = today;
  state.column = calendar::cellColumn(cell);
  QFont font = koreanFont(8, today || hasEntry(cell));
  font.setPixelSize(11);
  painter.setFont(font);
  painter.setPen(colourOf(calendar::dayNumberColour(state)));
  const int day = base::dayOf(calendar::cellDate(layout_, cell));
  const QFontMetrics metrics(font);
  const int baseline = r.top() + 2 + (r.height() - 2 + metrics.capHeight()) / 2 - 1;
  const QString text = QString::number(day);
  painter.drawText(r.left() + (r.width() - metrics.horizontalAdvance(text) + 1) / 2, baseline, text);
}

void MonthGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (layout_.month == 0) {
    painter.fillRect(rect(), Qt::white);
    return;
  }
  for (int cell = 0; cell < calendar::kGridCells; ++cell) drawCell(painter, cell, highlighted(cell));
}

void MonthGrid::mouseMoveEvent(QMouseEvent* event) {
  const int cell = cellAt(event->position().toPoint());
  if (cell < 0 || cell == hover_) return;
  setHoverCell(cell);
  emit hoverChanged(cell);
}

void MonthGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  const int cell = cellAt(event->position().toPoint());
  if (cell < 0) return;
  setCurrentCell(cell);
  emit cellClicked(cell);
}

void MonthGrid::keyPressEvent(QKeyEvent* event) {
  int step = 0;
  switch (event->key()) {
    case Qt::Key_Left: step = -1; break;
    case Qt::Key_Right: step = 1; break;
    case Qt::Key_Up: step = -calendar::kGridColumns; break;
    case Qt::Key_Down: step = calendar::kGridColumns; break;
    default: return QWidget::keyPressEvent(event);
  }
  const int cell = current_ + step;
  if (current_ < 0 || cell < 0 || cell >= calendar::kGridCells) return;
  setCurrentCell(cell);
  emit cellClicked(cell);
}

}  // namespace ui
