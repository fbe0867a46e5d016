#include "ui/main/month_calendar.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include "base/fields.h"
#include "ui/common/resources.h"
#include "ui/common/skin.h"
#include "ui/main/month_grid_widget.h"
#include "ui/main/month_source.h"

namespace ui {
namespace {

const QColor kYearColour{242, 101, 34};
const QColor kMonthColour{112, 112, 112};
const QColor kDateColour{71, 67, 67};
const QColor kDateFrame{0, 0, 128};
const QColor kStripColour{242, 242, 242};
const QColor kStripText{32, 35, 32};
const QColor kChevron{150, 140, 165};
const QColor kChevronHover{88, 0, 176};

// A small flat button drawing one chevron (month) or two (year).
class ChevronButton : public QAbstractButton {
 public:
  ChevronButton(bool forward, bool twice, const QString& hint, QWidget* parent)
      : QAbstractButton(parent), forward_(forward), twice_(twice) {
    setToolTip(hint);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (underMouse()) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(243, 236, 252));
      p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
    p.setPen(QPen(underMouse() ? kChevronHover : kChevron, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const double cy = height() / 2.0;
    const double half = 3.5;
    const int count = twice_ ? 2 : 1;
    const double spread = twice_ ? 4.0 : 0.0;
    for (int i = 0; i < count; ++i) {
      const double cx = width() / 2.0 + (i - (count - 1) / 2.0) * spread;
      const double tip = forward_ ? cx + half / 2 + 0.5 : cx - half / 2 - 0.5;
      const double back = forward_ ? tip - half : tip + half;
      QPainterPath path;
      path.moveTo(back, cy - half);
      path.lineTo(tip, cy);
      path.lineTo(back, cy + half);
      p.drawPath(path);
    }
  }
  void enterEvent(QEnterEvent* e) override {
    update();
    QAbstractButton::enterEvent(e);
  }
  void leaveEvent(QEvent* e) override {
    update();
    QAbstractButton::leaveEvent(e);
  }

 private:
  bool forward_;
  bool twice_;
};

// The grid of a shown month reaches into the years before and after it.
bool shownYearAllowed(int year) { return year >= 2 && year <= 9998; }

QFont titleFont(bool bold) { return koreanFont(titleFontSize(), bold); }

// Writes text with its top-left corner at (x, y).
void textOut(QPainter& p, int x, int y, const QString& text) {
  p.drawText(QPoint(x, y + QFontMetrics(p.font()).ascent()), text);
}

// Writes text centred in the `width` pixels from x, its top at y.
void textCentred(QPainter& p, int x, int width, int y, const QString& text) {
  const int w = QFontMetrics(p.font()).horizontalAdvance(text);
  textOut(p, x + (width - w) / 2, y, text);
}

}  // namespace

MonthCalendar::MonthCalendar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ImgSchedule"));
  setFixedSize(kWidth, kStripTop + kStripHeight);
  setMouseTracking(true);
  base_ = loadPixmap(QStringLiteral("IMAGE_SCHEDULE"));
  if (base_.isNull()) {
    base_ = QPixmap(kWidth, kPictureHeight);
    base_.fill(Qt::white);
  }
  picture_ = base_;
  strip_ = QPixmap(kWidth, kStripHeight);
  strip_.fill(kStripColour);

  grid_ = new MonthGrid(this);
  grid_->move(kGridPos);
  connect(grid_, &MonthGrid::cellClicked, this, [this](int cell) {
    if (!building_) dayClick(cell);
  });
  connect(grid_, &MonthGrid::hoverChanged, this, &MonthCalendar::hoverChanged);
  createButtons();
  createEntryBoxes();
}

MonthCalendar::~MonthCalendar() = default;

void MonthCalendar::createButtons() {
  BtnPrevYear = new ChevronButton(false, true, QStringLiteral("이전 해"), this);
  BtnPrevYear->setGeometry(21, 18, 18, 18);
  BtnNextYear = new ChevronButton(true, true, QStringLiteral("다음 해"), this);
  BtnNextYear->setGeometry(89, 18, 18, 18);
  BtnPrevMonth = new ChevronButton(false, false, QStringLiteral("이전 달"), this);
  BtnPrevMonth->setGeometry(131, 18, 16, 18);
  BtnNextMonth = new ChevronButton(true, false, QStringLiteral("다음 달"), this);
  BtnNextMonth->setGeometry(189, 18, 16, 18);
  connect(BtnPrevYear, &QAbstractButton::clicked, this, [this] { moveShownDate(-1, 0, shown_); });
  connect(BtnNextYear, &QAbstractButton::clicked, this, [this] { moveShownDate(1, 0, shown_); });
  connect(BtnPrevMonth, &QAbstractButton::clicked, this, [this] { moveShownDate(0, -1, shown_); });
  connect(BtnNextMonth, &QAbstractButton::clicked, this, [this] { moveShownDate(0, 1, shown_); });

  BtnToday = new QPushButton(QStringLiteral("오늘"), this);
  BtnToday->setGeometry(14, 182, 44, 19);
  BtnToday->setFont(koreanFont(8, true));
  BtnToday->setCursor(Qt::PointingHandCursor);
  BtnToday->setFocusPolicy(Qt::NoFocus);
  BtnToday->setToolTip(QStringLiteral("오늘로 가기"));
  BtnToday->setStyleSheet(QStringLiteral(
      "QPushButton { background: white; color: rgb(88,0,176); border: 1px solid rgb(196,180,222);"
      " border-radius: 3px; padding: 0; }"
      "QPushButton:hover { background: rgb(252,223,255); }"
      "QPushButton:pressed { background: rgb(232,214,250); }"));
  connect(BtnToday, &QPushButton::clicked, this, &MonthCalendar::todayClick);
}

void MonthCalendar::createEntryBoxes() {
  const QString style = QStringLiteral(
      "QLineEdit { border: 1px solid rgb(180,170,200); padding: 0 1px; background: white; }"
      "QLineEdit:focus { background: rgb(223,254,143); }");
  auto makeBox = [&](const QRect& area, int maxLength, const QColor& colour) {
    auto* box = new QLineEdit(this);
    box->setGeometry(area);
    box->setMaxLength(maxLength);
    box->setAlignment(Qt::AlignCenter);
    QFont font = titleFont(true);
    box->setFont(font);
    box->setStyleSheet(style + QStringLiteral("QLineEdit { color: %1; }").arg(colour.name()));
    box->installEventFilter(this);
    box->hide();
    return box;
  };
  EdYear = makeBox(kYearArea, 4, kYearColour);
  EdMonth = makeBox(kMonthArea, 2, kMonthColour);
  connect(EdYear, &QLineEdit::returnPressed, this, &MonthCalendar::applyTypedYear);
  connect(EdMonth, &QLineEdit::returnPressed, this, &MonthCalendar::applyTypedMonth);
}

void MonthCalendar::setSource(MonthSource* source) { source_ = source; }

const calendar::MonthLayout& MonthCalendar::monthLayout() const { return grid_->monthLayout(); }
const calendar::CellEntries& MonthCalendar::entries() const { return grid_->entries(); }
const std::vector<std::string>& MonthCalendar::cellItems() const { return grid_->entries().cellItems; }

base::DateTime MonthCalendar::cellDate(int cell) const { return calendar::cellDate(monthLayout(), cell); }

calendar::TokenInfo MonthCalendar::tokenInfo(const std::string& token) const {
  return source_ ? source_->tokenInfo(token) : calendar::TokenInfo{};
}

void MonthCalendar::showMonth(base::DateTime date) {
  date = base::dateOf(date);
  if (!shownYearAllowed(base::yearOf(date))) return;
  building_ = true;
  const calendar::MonthLayout layout =
      calendar::monthLayout(base::yearOf(date), base::monthOf(date), base::now());
  static const std::vector<calendar::Holiday> kNoHolidays;
  const calendar::CellEntries entries = calendar::cellEntries(
      layout,
      [this](int year) {
        if (source_) return source_->yearIndex(year);
        calendar::YearIndex empty;
        empty.year = year;
        return empty;
      },
      source_ ? source_->holidays() : kNoHolidays);
  grid_->setMonth(layout, entries, [this](const std::string& token) { return tokenInfo(token); });

  const int cell = calendar::cellOfDay(layout, base::dayOf(date));
  grid_->setCurrentCell(cell);
  grid_->setHoverCell(cell);
  paintHeader(date);
  describeCell(cell);
  shown_ = date;
  building_ = false;
  if (followUpClick_) dayClick(grid_->currentCell());
}

void MonthCalendar::refresh() {
  if (shown_ != 0) showMonth(shown_);
}

void MonthCalendar::moveShownDate(int years, int months, base::DateTime date) {
  date = base::dateOf(date);
  if (date == shown_ && years == 0 && months == 0) return;
  const long long target = base::yearOf(date) * 12LL + base::monthOf(date) - 1 + years * 12LL + months;
  if (!shownYearAllowed(static_cast<int>(target / 12))) return;
  showMonth(base::incMonth(base::incYear(date, years), months));
}

void MonthCalendar::paintHeader(base::DateTime date) {
  picture_ = base_;
  QPainter p(&picture_);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.fillRect(QRect(2, 8, 200, 30), Qt::white);

  p.setFont(titleFont(true));
  p.setPen(kYearColour);
  const QString year = QString::asprintf("%.4d년", base::yearOf(date));
  textOut(p, 45, 19, year);
  p.fillRect(QRect(45 + QFontMetrics(p.font()).horizontalAdvance(year), 18, 38, 15), Qt::white);
  p.setPen(kMonthColour);
  textCentred(p, 149, 39, 19, QString::asprintf("%d월", base::monthOf(date)));

  p.setPen(kDateFrame);
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRect(63, 182, 147, 18));  // outline of the 148 x 19 box
  p.fillRect(QRect(64, 183, 146, 17), Qt::white);
  p.setFont(titleFont(false));
  p.setPen(kDateColour);
  const QString text = QString::fromStdString(calendar::longDateText(date));
  const QFontMetrics metrics(p.font());
  // Centred in the box; the top is moved up for fonts taller than the box.
  const int top = std::min(184, 182 + (19 - metrics.height()) / 2);
  textCentred(p, 64, 146, top, text);
  p.end();
  update(QRect(0, 0, kWidth, kPictureHeight));
}

void MonthCalendar::hoverChanged(int cell) { describeCell(cell); }

void MonthCalendar::describeCell(int cell) {
  strip_.fill(kStripColour);
  stripText_.clear();
  QPainter p(&strip_);
  int x = 0;
  QStringList texts;
  const std::vector<std::string>& tokens = grid_->tokensOf(cell);
  for (const calendar::TokenDescription& d :
       calendar::describeTokens(tokens, [this](const std::string& t) { return tokenInfo(t); })) {
    for (const std::string& name : d.pictures) {
      const QImage image = grid_->picture(name);
      if (!image.isNull()) p.drawImage(QRect(x + 1, 2, 16, 16), image);
      x += 18;
    }
    texts << QString::fromStdString(d.text);
  }
  if (!texts.isEmpty()) {
    const QFont font = titleFont(false);
    const QFontMetrics metrics(font);
    const std::string joined = texts.join(QStringLiteral(", ")).toStdString();
    stripText_ = QString::fromStdString(base::shortenText(joined, kWidth - x, [&](const std::string& s) {
      return metrics.horizontalAdvance(QString::fromStdString(s));
    }));
    p.setFont(font);
    p.setPen(kStripText);
    const int top = std::min(0, (kStripHeight - metrics.height()) / 2);
    textOut(p, x + 2, top, stripText_);
  }
  p.end();
  update(QRect(0, kStripTop, kWidth, kStripHeight));
}

void MonthCalendar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.drawPixmap(0, 0, picture_);
  p.drawPixmap(0, kStripTop, strip_);
}

void MonthCalendar::dayClick(int cell) {
  const calendar::MonthLayout& layout = monthLayout();
  if (cell < 0 || cell >= calendar::kGridCells || layout.month == 0) return;
  if (!calendar::inShownMonth(layout, cell)) {
    // The other month is shown first; its build clicks the day again.
    followUpClick_ = true;
    moveShownDate(0, 0, cellDate(cell));
    followUpClick_ = false;  // also when the month could not be shown
    return;
  }
  followUpClick_ = false;
  const base::DateTime date = cellDate(cell);
  moveShownDate(0, 0, date);
  picked_ = date;
  const int shownCell = calendar::cellOfDay(monthLayout(), base::dayOf(date));
  if (grid_->hasEntry(shownCell)) {
    QStringList ids;
    for (const std::string& id : calendar::itemsOfCell(entries(), shownCell))
      if (source_ && source_->findItem(id)) ids << QString::fromStdString(id);
    emit daySelected(date, ids);
  } else if (date > base::dateOf(base::now())) {
    emit newEventRequested(date);
  }
}

void MonthCalendar::todayClick() {
  const base::DateTime today = base::dateOf(base::now());
  followUpClick_ = false;
  showMonth(today);
  dayClick(calendar::cellOfDay(monthLayout(), base::dayOf(today)));
}

// ------------------------------------------------------------ year and month entry

void MonthCalendar::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (kYearArea.contains(pos)) {
    showEntryBox(EdYear, EdMonth, base::yearOf(shown_));
  } else if (kMonthArea.contains(pos)) {
    showEntryBox(EdMonth, EdYear, base::monthOf(shown_));
  } else {
    EdYear->hide();
    EdMonth->hide();
  }
  QWidget::mousePressEvent(event);
}

void MonthCalendar::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const bool entryArea = kYearArea.contains(pos) || kMonthArea.contains(pos);
  setCursor(entryArea ? Qt::PointingHandCursor : Qt::ArrowCursor);
  QWidget::mouseMoveEvent(event);
}

bool MonthCalendar::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == EdYear || watched == EdMonth) && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    static_cast<QWidget*>(watched)->hide();
    grid_->setFocus();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void MonthCalendar::showEntryBox(QLineEdit* box, QLineEdit* other, int value) {
  other->hide();
  box->setText(QString::number(value));
  box->show();
  box->raise();
  box->setFocus();
  box->selectAll();
}

void MonthCalendar::applyTypedYear() {
  EdYear->hide();
  bool ok = false;
  const int year = EdYear->text().trimmed().toInt(&ok);
  if (ok) showTypedDate(year, base::monthOf(shown_), base::dayOf(shown_));
}

void MonthCalendar::applyTypedMonth() {
  EdMonth->hide();
  bool ok = false;
  const int month = EdMonth->text().trimmed().toInt(&ok);
  if (ok) showTypedDate(base::yearOf(shown_), month, base::dayOf(shown_));
}

// A year or month that gives no date (month 13, 31 April, year 0) keeps the
// shown month.
void MonthCalendar::showTypedDate(int year, int month, int day) {
  if (const std::optional<base::DateTime> date = base::tryEncodeDate(year, month, day)) showMonth(*date);
}

}  // namespace ui
