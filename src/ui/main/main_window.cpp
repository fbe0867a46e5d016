#include "ui/main/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>

#include "app/event_extra.h"
#include "app/folders.h"
#include "app/settings.h"
#include "base/ini.h"
#include "calendar/holidays.h"
#include "ui/common/message.h"
#include "ui/common/proportional_resizer.h"
#include "ui/common/resources.h"
#include "ui/common/skin.h"
#include "ui/common/unlock_window.h"
#include "ui/main/calendar_tree.h"
#include "ui/main/detail_pane.h"
#include "ui/main/main_views.h"
#include "ui/main/month_calendar.h"
#include "ui/main/month_source.h"
#include "ui/main/schedule_list.h"

#ifndef DAYBOOK_VERSION
#define DAYBOOK_VERSION "0.1.0"
#endif

namespace ui {
namespace {

constexpr int kToolTop = 37;
constexpr int kButtonHeight = 25;
constexpr int kLowerTop = 581;

QString programCaption() { return QStringLiteral("하루빛"); }

QPushButton* textButton(const QString& text, QWidget* parent, int x, int y, int w,
                        const QString& hint = {}) {
  auto* b = new QPushButton(text, parent);
  b->setFont(koreanFont(9));
  b->setGeometry(x, y, w, kButtonHeight);
  b->setFocusPolicy(Qt::TabFocus);
  if (!hint.isEmpty()) b->setToolTip(hint);
  return b;
}

QToolButton* dropDownButton(const QString& text, QWidget* parent, int x, int w, const QString& icon) {
  auto* b = new QToolButton(parent);
  b->setText(text);
  b->setFont(koreanFont(9));
  b->setIcon(QIcon(loadPixmap(icon)));
  b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  b->setPopupMode(QToolButton::InstantPopup);
  b->setMenu(new QMenu(b));
  b->setGeometry(x, kToolTop, w, kButtonHeight);
  return b;
}

QToolButton* pictureButton(const QString& icon, const QString& hint, QWidget* parent, int x, int y,
                           int w, int h) {
  auto* b = new QToolButton(parent);
  b->setIcon(QIcon(loadPixmap(icon)));
  b->setToolTip(hint);
  b->setGeometry(x, y, w, h);
  return b;
}

QFrame* panel(QWidget* parent, const QRect& geometry) {
  auto* f = new QFrame(parent);
  f->setGeometry(geometry);
  return f;
}

}  // namespace

QString programVersion() { return QStringLiteral(DAYBOOK_VERSION); }

TFrmMain::TFrmMain(QWidget* parent)
    : SkinnedWindow(programCaption(), kMainBarColour, kMainClientColour, kMinimise | kMaximise | kClose,
                    parent) {
  setObjectName(QStringLiteral("TFrmMain"));
  setPaintedTitle(QStringLiteral("데이북"));
  setResizable(true);
  setFont(koreanFont(9));
  resize(kClientWidth, kClientHeight);
  closeButton()->setToolTip(QStringLiteral("종료"));
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().width() - kClientWidth - 10, 10);

  createToolRow();
  createPanes();
  createLowerRow();
  createViews();

  resizer_ = new ProportionalResizer(this, QSize(kClientWidth, kClientHeight));
  for (QWidget* w : {static_cast<QWidget*>(minimiseButton()), static_cast<QWidget*>(maximiseButton()),
                     static_cast<QWidget*>(closeButton())})
    resizer_->exclude(w);
  setMinimumSize(kClientWidth * 3 / 4, kClientHeight * 3 / 4);
  createTrayIcon();
}

TFrmMain::~TFrmMain() {
  // The attributes of events survive the run; an empty list keeps the file.
  app::eventExtras().save(app::programFolder() + "plan.dat");
}

void TFrmMain::createToolRow() {
  BtnListAdd = dropDownButton(QStringLiteral(" 추가"), this, 10, 78, QStringLiteral("IMAGE_ADD"));
  BtnListDel = textButton(QStringLiteral("삭제"), this, 90, kToolTop, 55);
  CbYear = new QComboBox(this);
  CbYear->setFont(koreanFont(9));
  CbYear->addItems({QStringLiteral("전체"), QStringLiteral("올해"), QStringLiteral("작년이전"),
                    QStringLiteral("내년이후")});
  CbYear->setGeometry(147, kToolTop, 68, kButtonHeight);
  BtnToday = textButton(QStringLiteral("오늘"), this, 217, kToolTop, 55);
  BtnDiary = textButton(QStringLiteral("일기장"), this, 274, kToolTop, 66);
  BtnAddress = textButton(QStringLiteral("주소록"), this, 342, kToolTop, 66);
  BtnMail = textButton(QStringLiteral("메일"), this, 410, kToolTop, 55);
  BtnEnv = pictureButton(QStringLiteral("IMAGE_CONFIGURE"), QStringLiteral("환경설정"), this, 467,
                         kToolTop, 23, kButtonHeight);
  EdSearch = new QLineEdit(this);
  EdSearch->setFont(koreanFont(9));
  EdSearch->setGeometry(521, kToolTop + 2, 164, 21);
  EdSearch->setStyleSheet(QStringLiteral("QLineEdit:focus { background: rgb(223,254,143); }"));
  LstSuggest = new QListWidget(this);
  LstSuggest->setGeometry(521, 58, 163, 99);
  LstSuggest->hide();
  BtnFind = pictureButton(QStringLiteral("IMAGE_SEARCH"), QStringLiteral("일정 찾기"), this, 686,
                          kToolTop, 23, kButtonHeight);
  LblPlan = new QLabel(QStringLiteral("일정:"), this);
  LblPlan->setFont(koreanFont(9));
  LblPlan->setGeometry(715, kToolTop, 34, kButtonHeight);
  BtnItemAdd = dropDownButton(QStringLiteral(" 추가"), this, 749, 78, QStringLiteral("IMAGE_ADD"));
  BtnItemEdit = textButton(QStringLiteral("수정"), this, 829, kToolTop, 55);
  BtnItemDel = textButton(QStringLiteral("삭제"), this, 886, kToolTop, 55);
  BtnSms = textButton(QStringLiteral("문자"), this, 943, kToolTop, 55);
  BtnListDel->setEnabled(false);  // enabled once calendars are loaded
}

void TFrmMain::createPanes() {
  PnlMain = panel(this, QRect(9, 67, 989, 509));
  PnlMain->setObjectName(QStringLiteral("PnlMain"));
  PnlMain->setStyleSheet(QStringLiteral("#PnlMain { background: white; border: 1px solid rgb(200,200,200); }"));
  ImgSchedule = new MonthCalendar(PnlMain);
  ImgSchedule->setGeometry(10, 10, 225, 243);
  TvList = new CalendarTree(PnlMain);
  TvList->setGeometry(10, 253, 225, 246);
  SplVertical = panel(PnlMain, QRect(235, 10, 2, 489));
  SplVertical->setStyleSheet(QStringLiteral("background: rgb(220,220,220);"));
  HygPlan = new ScheduleGrid(PnlMain);
  HygPlan->setGeometry(237, 10, 740, 387);
  SplHorizontal = panel(PnlMain, QRect(237, 397, 740, 2));
  SplHorizontal->setStyleSheet(QStringLiteral("background: rgb(220,220,220);"));
  MemDetail = new DetailPane(PnlMain);
  MemDetail->setGeometry(237, 399, 740, 98);
  PnlVideo = panel(this, QRect(9, 67, 989, 509));
  PnlVideo->hide();
}

void TFrmMain::createViews() {
  MainViews::Widgets widgets;
  widgets.window = this;
  widgets.tree = static_cast<CalendarTree*>(TvList);
  widgets.grid = static_cast<ScheduleGrid*>(HygPlan);
  widgets.detail = static_cast<DetailPane*>(MemDetail);
  widgets.search = EdSearch;
  widgets.suggestions = LstSuggest;
  widgets.find = BtnFind;
  widgets.year = CbYear;
  widgets.listAdd = BtnListAdd;
  widgets.listDelete = BtnListDel;
  widgets.itemAdd = BtnItemAdd;
  widgets.itemEdit = BtnItemEdit;
  widgets.itemDelete = BtnItemDel;
  widgets.sms = BtnSms;
  widgets.login = BtnLogin;
  views_ = new MainViews(widgets, this);
  connectMonthCalendar();
}

void TFrmMain::connectMonthCalendar() {
  if (calendar::holidayList().empty()) calendar::holidayList() = calendar::loadHolidays();
  monthSource_ = std::make_unique<StoreMonthSource>([this] { return views_->store(); });
  ImgSchedule->setSource(monthSource_.get());
  ImgSchedule->showMonth(base::now());
  connect(ImgSchedule, &MonthCalendar::daySelected, this,
          [this](double, const QStringList& itemIds) { daySelected(itemIds); });
  connect(ImgSchedule, &MonthCalendar::newEventRequested, this, [this] { views_->addEvent(); });
  // The loaded items are indexed afresh: the shown month gets its marks.
  connect(views_, &MainViews::itemsLoadingFinished, ImgSchedule, &MonthCalendar::refresh);
}

// A day of the month calendar: its items' rows are the marked ones.
void TFrmMain::daySelected(const QStringList& itemIds) {
  auto* grid = static_cast<ScheduleGrid*>(HygPlan);
  grid->clearMarks();
  if (gsync::CacheStore* store = views_->store())
    for (const QString& id : itemIds) views_->selectItem(store->findItem(id.toStdString()));
  grid->viewport()->update();
}

void TFrmMain::createLowerRow() {
  BtnSimple = textButton(QStringLiteral("간편 보기"), this, 10, kLowerTop, 85, QStringLiteral("간단화면으로"));
  BtnExit = textButton(QStringLiteral("종료(&X)"), this, (kClientWidth - 74) / 2, kLowerTop, 74);
  connect(BtnExit, &QPushButton::clicked, this, &TFrmMain::exitAction);
  BtnLogin = textButton(QStringLiteral("로그인"), this, 797, kLowerTop, 66);
  BtnLogin->setEnabled(false);  // enabled after the first briefing
  BtnYoutube = textButton(QStringLiteral("유튜브관리"), this, 865, kLowerTop, 85,
                          QStringLiteral("재생할 비디오 관리"));
  ChkLock = new QCheckBox(QStringLiteral("잠금"), this);
  ChkLock->setFont(koreanFont(9));
  ChkLock->setGeometry(955, kLowerTop, 50, kButtonHeight);
  connect(ChkLock, &QCheckBox::clicked, this, &TFrmMain::ChkLockClick);

  CbVideo = new QComboBox(this);
  CbVideo->setGeometry(505, kToolTop, 338, kButtonHeight);
  CbVideo->hide();
  ChkContinue = new QCheckBox(QStringLiteral("연속재생"), this);
  ChkContinue->setFont(koreanFont(9));
  ChkContinue->setGeometry(846, kToolTop, 66, kButtonHeight);
  ChkContinue->setChecked(app::settings().autoPlay);
  ChkContinue->hide();
  BtnYoutubeTop = textButton(QStringLiteral("유튜브관리"), this, 913, kToolTop, 85);
  BtnYoutubeTop->hide();
}

void TFrmMain::createTrayIcon() {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return;  // everything else still works
  tray_ = new QSystemTrayIcon(QIcon(loadPixmap(QStringLiteral("IMAGE_GOOGLE"))), this);
  tray_->setToolTip(QStringLiteral("데이북 ") + programVersion());
  trayMenu_ = new QMenu(this);
  QAction* open = trayMenu_->addAction(QStringLiteral("데이북 열기(&O)"), this, &TFrmMain::restoreFromTray);
  trayMenu_->setDefaultAction(open);
  trayMenu_->addSeparator();
  trayMenu_->addAction(QStringLiteral("종료(&X)"), this, &TFrmMain::exitAction);
  tray_->setContextMenu(trayMenu_);
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick) restoreFromTray();
  });
  tray_->show();
  tray_->showMessage(QStringLiteral("데이북"), QStringLiteral("보다 쉽고 편리한 캘린더 프로그램"),
                     QSystemTrayIcon::Information, 10'000);
}

void TFrmMain::restoreFromTray() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

void TFrmMain::closeButtonClicked() { close(); }

void TFrmMain::closeEvent(QCloseEvent* event) {
  if (exiting_) return SkinnedWindow::closeEvent(event);
  // Closing only hides the window; the exit action ends the program.  Without
  // a tray there would be no way back, so the window is minimised instead.
  event->ignore();
  if (tray_)
    hide();
  else
    showMinimized();
}

void TFrmMain::exitAction() {
  app::AppSettings& s = app::settings();
  s.closing = true;
  if (!s.settingsFile.empty()) {
    base::IniFile ini(s.settingsFile);
    s.autoPlay = ChkContinue->isChecked();
    app::writeExitEnvironment(ini, s);
    app::saveSettingsFile(ini);
  }
  exiting_ = true;
  emit exitRequested();
  if (tray_) tray_->hide();
  close();
  QApplication::quit();
}

void TFrmMain::resizeEvent(QResizeEvent* event) {
  SkinnedWindow::resizeEvent(event);
  placeExitButton();
  placeLockControls();
}

void TFrmMain::toggleMaximised() {
  if (locked_) return;  // the locked player stays maximised
  SkinnedWindow::toggleMaximised();
}

QList<QWidget*> TFrmMain::lockHiddenControls() const {
  return {BtnListAdd, BtnListDel,  CbYear,     BtnToday,    BtnDiary, BtnAddress, BtnMail,  BtnEnv,    EdSearch,
          LstSuggest, BtnFind,     LblPlan,    BtnItemAdd,  BtnItemEdit, BtnItemDel, BtnSms, BtnLogin,
          BtnYoutube, PnlMain};
}

QList<QWidget*> TFrmMain::lockShownControls() const { return {ChkContinue, BtnYoutubeTop, CbVideo, PnlVideo}; }

void TFrmMain::ChkLockClick(bool checked) {
  if (checked) {
    enterLockMode();
  } else if (askUnlock()) {
    leaveLockMode();
  } else {
    ChkLock->setChecked(true);  // setChecked does not emit clicked
  }
}

void TFrmMain::enterLockMode() {
  if (locked_) return;
  locked_ = true;
  hiddenByLock_.clear();
  for (QWidget* w : lockHiddenControls()) {
    if (!w->isHidden()) hiddenByLock_ << w;
    w->hide();
  }
  for (QWidget* w : lockShownControls()) w->show();
  PnlVideo->raise();
  if (maximiseButton()) maximiseButton()->setEnabled(false);
  showMaximized();
  placeLockControls();
  emit lockVideoStartRequested();
}

bool TFrmMain::askUnlock() {
  // TODO(reminders): the reminder timer pauses while the dialog is open.
  TFrmUnlock dialog(this);
  const std::optional<QString> typed = dialog.execModal();
  if (!typed) return false;
  if (*typed != QString::fromStdString(app::settings().googlePw)) {
    showWarning(this, QStringLiteral("비밀번호가 틀렸습니다."));
    return false;
  }
  return true;
}

void TFrmMain::leaveLockMode() {
  if (!locked_) return;
  locked_ = false;
  for (QWidget* w : lockShownControls()) w->hide();
  for (const QPointer<QWidget>& w : std::as_const(hiddenByLock_))
    if (w) w->show();
  hiddenByLock_.clear();
  emit playerStopRequested();
  if (maximiseButton()) maximiseButton()->setEnabled(true);
  showNormal();
  resize(940, kClientHeight);
  resizer_->apply();
  placeExitButton();
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

// In lock mode the lock box sits just left of the video list.
void TFrmMain::placeLockControls() {
  if (!locked_ || !ChkLock || !CbVideo) return;
  const QRect list = CbVideo->geometry();
  ChkLock->move(list.left() - ChkLock->width() - 6, list.top());
}

void TFrmMain::placeExitButton() {
  if (!BtnExit || !resizer_) return;
  const QRect g = BtnExit->geometry();
  BtnExit->move((width() - g.width()) / 2, g.y());
}

}  // namespace ui
