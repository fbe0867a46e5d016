// The main window: skinned, borderless, 1008 x 625, with the tool rows, the
// month calendar, the calendar tree, the schedule grid and the detail pane.
#pragma once

#include <QPointer>
#include <QStringList>
#include <memory>
#include <QSystemTrayIcon>

#include "ui/common/skinned_window.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class QTextBrowser;
class QToolButton;
class QTreeWidget;
class QFrame;
class QMenu;

namespace ui {

class MainViews;
class MonthCalendar;
class MonthSource;
class ProportionalResizer;

class TFrmMain : public SkinnedWindow {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 1008;
  static constexpr int kClientHeight = 625;

  explicit TFrmMain(QWidget* parent = nullptr);
  ~TFrmMain() override;

  // Brings the window back from the tray or from behind other windows
  // (a second copy of the program asks for this).
  void restoreFromTray();
  // The exit action: writes the settings and ends the application.
  void exitAction();
  bool hasTrayIcon() const { return tray_ != nullptr; }
  // Lock mode: the window becomes a video player until the Google password is given.
  bool isLocked() const { return locked_; }
  // The tree, the schedule list, the detail pane and their commands.
  MainViews* views() const { return views_; }

  // Upper tool row.
  QToolButton* BtnListAdd = nullptr;
  QPushButton* BtnListDel = nullptr;
  QComboBox* CbYear = nullptr;
  QPushButton* BtnToday = nullptr;
  QPushButton* BtnDiary = nullptr;
  QPushButton* BtnAddress = nullptr;
  QPushButton* BtnMail = nullptr;
  QToolButton* BtnEnv = nullptr;
  QLineEdit* EdSearch = nullptr;
  QListWidget* LstSuggest = nullptr;
  QToolButton* BtnFind = nullptr;
  QLabel* LblPlan = nullptr;
  QToolButton* BtnItemAdd = nullptr;
  QPushButton* BtnItemEdit = nullptr;
  QPushButton* BtnItemDel = nullptr;
  QPushButton* BtnSms = nullptr;
  // Panes.
  QFrame* PnlMain = nullptr;
  MonthCalendar* ImgSchedule = nullptr;
  QTreeWidget* TvList = nullptr;
  QFrame* SplVertical = nullptr;
  QTableWidget* HygPlan = nullptr;
  QFrame* SplHorizontal = nullptr;
  QTextBrowser* MemDetail = nullptr;
  QFrame* PnlVideo = nullptr;
  // Lower row.
  QPushButton* BtnSimple = nullptr;
  QPushButton* BtnExit = nullptr;
  QPushButton* BtnLogin = nullptr;
  QPushButton* BtnYoutube = nullptr;
  QCheckBox* ChkLock = nullptr;
  // Shown in lock mode only.
  QComboBox* CbVideo = nullptr;
  QCheckBox* ChkContinue = nullptr;
  QPushButton* BtnYoutubeTop = nullptr;

 signals:
  void exitRequested();
  // Lock mode turned on: the selected video starts.
  void lockVideoStartRequested();
  // Lock mode left: the embedded player stops.
  void playerStopRequested();

 protected:
  void closeButtonClicked() override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void toggleMaximised() override;

 private:
  void createToolRow();
  void createPanes();
  void createLowerRow();
  void createViews();
  void connectMonthCalendar();
  void daySelected(const QStringList& itemIds);
  void createTrayIcon();
  void placeExitButton();
  void ChkLockClick(bool checked);
  void enterLockMode();
  bool askUnlock();
  void leaveLockMode();
  void placeLockControls();
  QList<QWidget*> lockHiddenControls() const;
  QList<QWidget*> lockShownControls() const;

  ProportionalResizer* resizer_ = nullptr;
  MainViews* views_ = nullptr;
  std::unique_ptr<MonthSource> monthSource_;
  QSystemTrayIcon* tray_ = nullptr;
  QMenu* trayMenu_ = nullptr;
  bool exiting_ = false;
  bool locked_ = false;
  QList<QPointer<QWidget>> hiddenByLock_;
};

// The program's version text shown in the tray hint.
QString programVersion();

}  // namespace ui
