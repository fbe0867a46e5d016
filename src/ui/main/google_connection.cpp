#include "ui/main/google_connection.h"

#include <QPushButton>

#include "app/settings.h"
#include "base/datetime.h"
#include "base/ini.h"
#include "ui/google/navigate_window.h"
#include "ui/main/main_views.h"
#include "ui/main/main_window.h"

namespace ui {

GoogleConnection::GoogleConnection(TFrmMain& main, TFrmNavigate& navigate)
    : main_(main), navigate_(navigate) {
  main_.views()->setCommandSink(this);
  connect(&navigate_, &TFrmNavigate::signedIn, this, &GoogleConnection::signedIn);
  connect(&navigate_, &TFrmNavigate::treeResetRequested, this, [this] { main_.views()->resetForAccount(); });
  connect(&navigate_, &TFrmNavigate::mainWindowRequested, &main_, &TFrmMain::restoreFromTray);
  connect(&navigate_, &TFrmNavigate::loginControlsEnabled, this, [this] { main_.BtnLogin->setEnabled(true); });
  connect(&navigate_, &TFrmNavigate::applicationEndRequested, &main_, &TFrmMain::exitAction);
  connect(main_.BtnLogin, &QPushButton::clicked, this, &GoogleConnection::loginClicked);
  connect(&main_, &TFrmMain::exitRequested, this, &GoogleConnection::exiting);
}

void GoogleConnection::start() {
  if (!navigate_.tokens().reusable(base::now())) navigate_.show();
}

// Message 5280: the token step, then the calendars from the cache or Google.
void GoogleConnection::signedIn() {
  navigate_.tokenTick();
  const app::AppSettings& s = app::settings();
  main_.views()->openCache(navigate_.cacheFolder(), s.googleId, navigate_.tokens().myName);
}

void GoogleConnection::loginClicked() {
  main_.BtnLogin->setEnabled(false);
  navigate_.setSwitching(true);
  navigate_.show();
  navigate_.raise();
  navigate_.activateWindow();
}

bool GoogleConnection::downloadLink(gsync::ChainLink link) {
  navigate_.download().setStore(main_.views()->store());
  // A failure has been shown; the chain stops at this link.
  navigate_.runRequest([&] { navigate_.download().downloadLink(link); });
  return true;
}

bool GoogleConnection::downloadItems(const gsync::ListSlot& slot) {
  navigate_.download().setStore(main_.views()->store());
  if (!navigate_.runRequest([&] { navigate_.download().downloadItems(slot); }))
    main_.views()->slotDownloaded(slot.number, false);  // the other lists still load
  return true;
}

void GoogleConnection::exiting() {
  const app::AppSettings& s = app::settings();
  if (!s.googleId.empty() && navigate_.tokens().reusable(base::now()))
    navigate_.runRequest([this] { navigate_.requests().queuedDeletions(); });
  if (s.settingsFile.empty()) return;
  base::IniFile ini(s.settingsFile);
  navigate_.saveAccounts(ini);
  app::saveSettingsFile(ini);
}

}  // namespace ui
