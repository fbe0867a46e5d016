// The Google connection window "구글 연결": the list of known Google
// accounts, the sign-in (the user's browser for Google's own pages, an
// embedded browser for other hosts such as the local stand-in), the token
// timer, and the request layer every window sends through.  Created once at
// start-up and hidden most of the time; it owns the cache folder, which
// lives as long as the window.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "sync/accounts.h"
#include "sync/download.h"
#include "sync/google_config.h"
#include "sync/request_layer.h"
#include "sync/sign_in.h"
#include "ui/common/skinned_window.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QWebEngineView;

namespace base {
class IniFile;
}

namespace ui {

class EventLoopHttpClient;

class TFrmNavigate : public SkinnedWindow, private gsync::RequestHost {
  Q_OBJECT
 public:
  struct Options {
    std::string cacheFolder;          // empty: app::cacheFolder()
    std::string settingsFile;         // empty: app::settingsPath()
    std::optional<gsync::GoogleConfig> config;  // empty: from the environment
    base::HttpClient* http = nullptr; // empty: libcurl
    // Opens the sign-in address outside the program; the desktop's browser
    // by default.
    std::function<void(const QString& url)> openExternal;
    // Whether the sign-in shows in the embedded browser; by default for
    // every host but Google's own.
    std::optional<bool> embedded;
    // The id dialog and the delete question (tests answer them).
    std::function<std::optional<std::pair<QString, QString>>(const QString& address, const QString& password)>
        askAccount;
    std::function<bool(const QString& text)> askDelete;
    std::function<void(const QString& text)> warn;
  };

  explicit TFrmNavigate(QWidget* parent = nullptr);
  explicit TFrmNavigate(Options options, QWidget* parent = nullptr);
  ~TFrmNavigate() override;

  gsync::RequestLayer& requests() { return *requests_; }
  gsync::Download& download() { return *download_; }
  gsync::TokenState& tokens() { return tokens_; }
  const gsync::AccountList& accounts() const { return accounts_; }
  const std::string& cacheFolder() const { return cacheFolder_; }

  // "연결(&C)": a new sign-in with the address in the id box.
  void startSignIn();
  // The token timer and message 5280.
  void tokenTick();
  // Runs a call of the request layer; a failure is shown with its Korean
  // text.  False when it failed.
  bool runRequest(const std::function<void()>& call);
  // At exit: the current account, the session and the account list.
  void saveAccounts(base::IniFile& ini) const;
  // Set by the main window's log-in button: the next sign-in switches account.
  void setSwitching(bool on) { switching_ = on; }
  bool switching() const { return switching_; }
  // The sign-in under way, if any.
  const gsync::SignInAttempt* attempt() const { return attempt_.get(); }
  QWebEngineView* browser() const { return Browser; }

  QComboBox* CbId = nullptr;
  QLineEdit* EdGooglePw = nullptr;
  QPushButton* BtnAdd = nullptr;
  QPushButton* BtnEdit = nullptr;
  QPushButton* BtnDel = nullptr;
  QPushButton* BtnConnect = nullptr;
  QPushButton* BtnOk = nullptr;
  QLabel* LblStatus = nullptr;
  QTimer* TmrToken = nullptr;

 signals:
  // Message 5280: a session started; the main window runs the token tick
  // and loads the calendars.
  void signedIn();
  // Another account signs in: the main window empties its tree.
  void treeResetRequested();
  // The window was closed: the main window's log-in button comes back.
  void loginControlsEnabled();
  // The window was closed before any sign-in: the program ends.
  void applicationEndRequested();
  // The sign-in is done: the main window comes up.
  void mainWindowRequested();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeButtonClicked() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // RequestHost
  void signInNeeded() override;
  void closeConnectionWindow() override;
  void pause(int milliseconds) override;

  void createControls();
  void fillAccounts();
  void selectAddress(const QString& address);
  void updateDeleteButton();
  void CbIdChange();
  void BtnAddClick();
  void BtnEditClick();
  void BtnDelClick();
  void BtnOkClick();
  void showBrowser(bool on);
  void stopAttempt();
  void signInAnswered(const std::optional<gsync::AuthorizationAnswer>& answer);
  void accountCheck();
  void startSession();
  void warn(const QString& text);
  bool sessionRecent() const;

  Options options_;
  std::string cacheFolder_;
  std::string settingsFile_;
  gsync::GoogleConfig config_;
  std::unique_ptr<base::HttpClient> ownHttp_;
  std::unique_ptr<EventLoopHttpClient> http_;
  gsync::TokenState tokens_;
  gsync::AccountList accounts_;
  std::unique_ptr<gsync::RequestLayer> requests_;
  std::unique_ptr<gsync::Download> download_;

  std::shared_ptr<gsync::SignInAttempt> attempt_;
  std::thread waiter_;
  QWebEngineView* Browser = nullptr;
  bool switching_ = false;
  bool topmost_ = false;
};

}  // namespace ui
