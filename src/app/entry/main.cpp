// The program entry: one running copy, settings, splash, the first-start
// account dialog, the main window, and the message loop.
#include <QApplication>
#include <QTimer>

#include "app/event_extra.h"
#include "app/folders.h"
#include "app/settings.h"
#include "base/files.h"
#include "platform/single_instance.h"
#include "ui/common/env_window.h"
#include "ui/common/skin.h"
#include "ui/common/splash.h"
#include "ui/google/navigate_window.h"
#include "ui/main/google_connection.h"
#include "ui/main/main_window.h"

namespace {

void loadSharedLists() {
  app::AppSettings& s = app::settings();
  app::loadSettings(s, app::settingsPath());
  app::eventExtras().load(app::programFolder() + "plan.dat");
}

// Asks for the Google account when none is stored; false when the user gave
// none.  The settings window stores what it is given in daybook.ini.
bool ensureAccount() {
  const app::AppSettings& s = app::settings();
  if (!s.googleId.empty() && !s.googlePw.empty()) return true;
  ui::TFrmEnv dialog(app::settings());
  if (!dialog.execModal()) return false;
  return !s.googleId.empty() && !s.googlePw.empty();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  application.setApplicationName(QStringLiteral("daybook"));
  application.setQuitOnLastWindowClosed(false);

  base::makeDirectories(app::programFolder());
  platform::SingleInstance instance(QString::fromStdString(app::programFolder()));
  if (!instance.tryBecomePrimary()) {
    instance.notifyPrimary();
    return 0;
  }

  loadSharedLists();
  application.setFont(ui::koreanFont(9));
  ui::installHintStyle(application);
  {
    ui::TSplashForm splash;
    splash.showFor(500);
  }
  application.setApplicationDisplayName(QStringLiteral("데이북"));
  if (!ensureAccount()) return 0;

  // The connection window owns the cache folder: created here, removed when
  // the window goes at exit.
  ui::TFrmNavigate navigate;
  ui::TFrmMain mainWindow;
  QObject::connect(&instance, &platform::SingleInstance::activationRequested, &mainWindow,
                   &ui::TFrmMain::restoreFromTray);
  ui::GoogleConnection connection(mainWindow, navigate);
  mainWindow.show();
  QTimer::singleShot(0, &mainWindow, [&connection] { connection.start(); });
  return application.exec();
}
