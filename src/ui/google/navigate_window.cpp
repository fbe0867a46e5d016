#include "ui/google/navigate_window.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

#include "app/folders.h"
#include "app/settings.h"
#include "base/datetime.h"
#include "base/files.h"
#include "base/ini.h"
#include "ui/common/message.h"
#include "ui/common/skin.h"
#include "ui/google/id_input.h"
#include "ui/google/network_wait.h"

namespace ui {
namespace {

constexpr int kSignInWaitMs = 15 * 60 * 1000;
constexpr int kTokenTimerMs = 1000;

QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TFrmNavigate::TFrmNavigate(QWidget* parent) : TFrmNavigate(Options{}, parent) {}

TFrmNavigate::TFrmNavigate(Options options, QWidget* parent)
    : SkinnedWindow(QStringLiteral("구글 연결"), kMainBarColour, kMainClientColour, kMinimise | kMaximise | kClose,
                    parent),
      options_(std::move(options)) {
  cacheFolder_ = base::withTrailingSlash(options_.cacheFolder.empty() ? app::cacheFolder() : options_.cacheFolder);
  settingsFile_ = options_.settingsFile.empty() ? app::settingsPath() : options_.settingsFile;
  config_ = options_.config ? *options_.config : gsync::googleConfigFromEnvironment();
  base::HttpClient* inner = options_.http;
  if (!inner) {
    ownHttp_ = std::make_unique<base::CurlHttpClient>();
    inner = ownHttp_.get();
  }
  http_ = std::make_unique<EventLoopHttpClient>(*inner);
  requests_ = std::make_unique<gsync::RequestLayer>(config_, cacheFolder_, tokens_, *http_,
                                                   static_cast<gsync::RequestHost&>(*this));
  download_ = std::make_unique<gsync::Download>(*requests_);
  requests_->setFollowUps(download_.get());

  resize(820, 640);
  createControls();

  const base::IniFile ini(settingsFile_);
  gsync::loadAccounts(ini, accounts_, tokens_);
  app::AppSettings& s = app::settings();
  if (!s.googleId.empty()) accounts_.ensure(s.googleId, s.googlePw);
  fillAccounts();
  selectAddress(qs(s.googleId));

  switching_ = false;
  base::makeDirectories(cacheFolder_);
  s.cacheFolder = cacheFolder_;

  TmrToken = new QTimer(this);
  TmrToken->setSingleShot(true);
  TmrToken->setInterval(kTokenTimerMs);
  connect(TmrToken, &QTimer::timeout, this, &TFrmNavigate::tokenTick);

  // A stored session that is recent enough starts at once (posted, so that
  // the main window hears it once it is connected).
  if (sessionRecent()) QTimer::singleShot(0, this, &TFrmNavigate::startSession);
}

TFrmNavigate::~TFrmNavigate() {
  stopAttempt();
  base::removeDirectoryTree(cacheFolder_);
}

void TFrmNavigate::createControls() {
  auto* idLabel = new QLabel(QStringLiteral("구글 아이디:"), this);
  idLabel->setGeometry(12, 42, 74, 24);
  CbId = new QComboBox(this);
  CbId->setObjectName(QStringLiteral("CbId"));
  CbId->setGeometry(88, 42, 220, 24);
  auto* pwLabel = new QLabel(QStringLiteral("비밀번호:"), this);
  pwLabel->setGeometry(316, 42, 60, 24);
  EdGooglePw = new QLineEdit(this);
  EdGooglePw->setObjectName(QStringLiteral("EdGooglePw"));
  EdGooglePw->setGeometry(376, 42, 110, 24);
  EdGooglePw->setEchoMode(QLineEdit::Password);
  EdGooglePw->setReadOnly(true);
  const auto button = [this](const QString& text, const char* name, int x, int width) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(x, 42, width, 24);
    return b;
  };
  BtnAdd = button(QStringLiteral("아이디 추가"), "BtnAdd", 492, 74);
  BtnEdit = button(QStringLiteral("아이디 수정"), "BtnEdit", 568, 74);
  BtnDel = button(QStringLiteral("아이디 삭제"), "BtnDel", 644, 74);
  BtnConnect = button(QStringLiteral("연결(&C)"), "BtnConnect", 722, 44);
  BtnOk = button(QStringLiteral("확인"), "BtnOk", 768, 44);
  LblStatus = new QLabel(this);
  LblStatus->setObjectName(QStringLiteral("LblStatus"));
  LblStatus->setGeometry(12, 72, 790, 22);

  connect(CbId, &QComboBox::currentIndexChanged, this, &TFrmNavigate::CbIdChange);
  connect(BtnAdd, &QPushButton::clicked, this, &TFrmNavigate::BtnAddClick);
  connect(BtnEdit, &QPushButton::clicked, this, &TFrmNavigate::BtnEditClick);
  connect(BtnDel, &QPushButton::clicked, this, &TFrmNavigate::BtnDelClick);
  connect(BtnConnect, &QPushButton::clicked, this, &TFrmNavigate::startSignIn);
  connect(BtnOk, &QPushButton::clicked, this, &TFrmNavigate::BtnOkClick);
  CbId->installEventFilter(this);
  EdGooglePw->installEventFilter(this);
}

void TFrmNavigate::resizeEvent(QResizeEvent* event) {
  SkinnedWindow::resizeEvent(event);
  if (Browser) Browser->setGeometry(4, 100, width() - 8, height() - 104);
}

// ---------------------------------------------------------------- accounts

void TFrmNavigate::fillAccounts() {
  const QSignalBlocker block(CbId);
  CbId->clear();
  for (const gsync::AccountLine& line : accounts_.lines()) CbId->addItem(qs(line.address));
  updateDeleteButton();
}

void TFrmNavigate::selectAddress(const QString& address) {
  const int at = CbId->findText(address);
  CbId->setCurrentIndex(at >= 0 ? at : CbId->count() - 1);
  CbIdChange();
}

void TFrmNavigate::updateDeleteButton() { BtnDel->setEnabled(accounts_.size() > 1); }

void TFrmNavigate::CbIdChange() {
  EdGooglePw->setText(qs(accounts_.passwordOf(CbId->currentText().toStdString())));
}

void TFrmNavigate::BtnAddClick() {
  std::optional<std::pair<QString, QString>> account;
  if (options_.askAccount) {
    account = options_.askAccount({}, {});
  } else {
    TFrmIdInput dialog(this);
    if (dialog.execModal()) account = std::make_pair(dialog.address(), dialog.password());
  }
  if (!account) return;
  accounts_.put(account->first.toStdString(), account->second.toStdString());
  fillAccounts();
  selectAddress(account->first);
}

void TFrmNavigate::BtnEditClick() {
  const QString address = CbId->currentText();
  std::optional<std::pair<QString, QString>> account;
  if (options_.askAccount) {
    account = options_.askAccount(address, EdGooglePw->text());
  } else {
    TFrmIdInput dialog(this);
    dialog.setAccount(address, EdGooglePw->text());
    if (dialog.execModal()) account = std::make_pair(dialog.address(), dialog.password());
  }
  if (!account) return;
  accounts_.put(account->first.toStdString(), account->second.toStdString());
  fillAccounts();
  selectAddress(account->first);
}

void TFrmNavigate::BtnDelClick() {
  const QString address = CbId->currentText();
  if (address.isEmpty() || accounts_.size() <= 1) return;
  const QString question = QStringLiteral("'%1' 아이디를 삭제하시겠습니까?").arg(address);
  if (!(options_.askDelete ? options_.askDelete(question) : askConfirm(nullptr, question))) return;
  accounts_.remove(address.toStdString());
  fillAccounts();
  CbId->setCurrentIndex(CbId->count() - 1);
  CbIdChange();
}

bool TFrmNavigate::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && (watched == CbId || watched == EdGooglePw)) {
      if (!CbId->currentText().isEmpty() && !EdGooglePw->text().isEmpty()) startSignIn();
      return true;
    }
  }
  if (event->type() == QEvent::MouseButtonPress && watched == EdGooglePw) {
    BtnEditClick();
    return true;
  }
  return SkinnedWindow::eventFilter(watched, event);
}

void TFrmNavigate::saveAccounts(base::IniFile& ini) const {
  const app::AppSettings& s = app::settings();
  gsync::saveAccounts(ini, accounts_, tokens_, s.googleId, s.googlePw);
}

// ---------------------------------------------------------------- showing and closing

bool TFrmNavigate::sessionRecent() const { return tokens_.reusable(base::now()); }

void TFrmNavigate::showEvent(QShowEvent* event) {
  SkinnedWindow::showEvent(event);
  if (!tokens_.authorizationCode.empty() && !switching_ && base::now() <= tokens_.expiry + 7) return;
  const app::AppSettings& s = app::settings();
  if (!s.googleId.empty() && accounts_.indexOf(s.googleId) < 0) {
    accounts_.ensure(s.googleId, s.googlePw);
    fillAccounts();
  }
  selectAddress(qs(s.googleId));
  if (!switching_ && !s.googleId.empty() && !s.googlePw.empty() && !attempt_) {
    QTimer::singleShot(0, this, [this] {
      if (!attempt_ && isVisible()) startSignIn();
    });
  }
}

void TFrmNavigate::closeButtonClicked() {
  const bool signingInFirst = tokens_.authorizationCode.empty() && Browser && Browser->isVisible();
  stopAttempt();
  hide();
  emit loginControlsEnabled();
  if (signingInFirst) emit applicationEndRequested();
}

void TFrmNavigate::BtnOkClick() {
  hide();
  emit loginControlsEnabled();
}

// ---------------------------------------------------------------- request host

void TFrmNavigate::signInNeeded() {
  show();
  raise();
  activateWindow();
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  show();
  topmost_ = true;
}

void TFrmNavigate::closeConnectionWindow() {
  if (topmost_) {
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    topmost_ = false;
  }
  hide();
}

void TFrmNavigate::pause(int milliseconds) { waitWithoutInput(milliseconds); }

void TFrmNavigate::warn(const QString& text) {
  if (topmost_) {
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    topmost_ = false;
    show();
  }
  if (options_.warn)
    options_.warn(text);
  else
    showWarning(isVisible() ? this : nullptr, text);
}

bool TFrmNavigate::runRequest(const std::function<void()>& call) {
  try {
    call();
    return true;
  } catch (const gsync::RequestError& error) {
    warn(QString::fromUtf8(error.what()));
  }
  return false;
}

// ---------------------------------------------------------------- sign-in

void TFrmNavigate::stopAttempt() {
  if (attempt_) attempt_->cancel();
  if (waiter_.joinable()) waiter_.join();
  attempt_.reset();
}

void TFrmNavigate::showBrowser(bool on) {
  if (on && !Browser) {
    Browser = new QWebEngineView(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setGeometry(4, 100, width() - 8, height() - 104);
  }
  if (Browser) Browser->setVisible(on);
}

void TFrmNavigate::startSignIn() {
  if (config_.clientId.empty()) {
    warn(QStringLiteral("구글 로그인에 필요한 OAuth 클라이언트가 설정되지 않았습니다."));
    return;
  }
  stopAttempt();
  try {
    attempt_ = std::make_shared<gsync::SignInAttempt>(config_, CbId->currentText().toStdString());
  } catch (const std::exception&) {
    warn(QString::fromStdString(gsync::unknownFailureText()));
    return;
  }
  std::shared_ptr<gsync::SignInAttempt> attempt = attempt_;
  waiter_ = std::thread([this, attempt] {
    std::optional<gsync::AuthorizationAnswer> answer = attempt->wait(kSignInWaitMs);
    QMetaObject::invokeMethod(this, [this, attempt, answer] {
      if (attempt == attempt_) signInAnswered(answer);
    }, Qt::QueuedConnection);
  });

  const QString url = qs(attempt_->url());
  const bool embedded = options_.embedded.value_or(!config_.usesGoogleSignInHost());
  if (!isVisible()) show();
  if (embedded) {
    LblStatus->setText(QStringLiteral("구글 계정으로 로그인한 다음 \"허용\"을 누르세요."));
    showBrowser(true);
    Browser->load(QUrl(url));
  } else {
    LblStatus->setText(QStringLiteral("웹 브라우저에서 구글 계정으로 로그인하세요. 로그인이 끝나면 이 창으로 돌아옵니다."));
    if (options_.openExternal)
      options_.openExternal(url);
    else
      QDesktopServices::openUrl(QUrl(url));
  }
}

void TFrmNavigate::signInAnswered(const std::optional<gsync::AuthorizationAnswer>& answer) {
  if (waiter_.joinable()) waiter_.join();
  const std::shared_ptr<gsync::SignInAttempt> attempt = std::move(attempt_);
  if (!answer) return;  // cancelled or timed out: the window stays as it is
  if (!answer->error.empty()) {
    LblStatus->setText(QStringLiteral("로그인이 취소되었습니다. 다시 연결하려면 \"연결\"을 누르세요."));
    return;
  }
  emit mainWindowRequested();
  showBrowser(false);
  LblStatus->setText(QStringLiteral("로그인 정보를 확인합니다..."));
  const std::string chosen = CbId->currentText().toStdString();
  if (!runRequest([&] { gsync::completeSignIn(*requests_, attempt->request(), answer->code); })) return;
  if (chosen.empty()) {
    // No address was chosen: the signed-in one becomes the account.
    accounts_.ensure(tokens_.signedInAddress, "");
    fillAccounts();
    selectAddress(qs(tokens_.signedInAddress));
  }
  if (!chosen.empty() && !gsync::sameAccount(tokens_.signedInAddress, chosen)) {
    // Tokens of another account are never kept.
    tokens_.clear();
    warn(qs(gsync::accountMismatchText()));
    startSignIn();
    return;
  }
  LblStatus->clear();
  accountCheck();
}

void TFrmNavigate::accountCheck() {
  app::AppSettings& s = app::settings();
  const std::string chosen = CbId->currentText().toStdString();
  const std::string password = EdGooglePw->text().toStdString();
  if (chosen != s.googleId || password != s.googlePw) {
    base::removeDirectoryTree(cacheFolder_);
    base::makeDirectories(cacheFolder_);
    s.googleId = app::withMailDomain(chosen);
    s.googlePw = password;
    base::IniFile ini(settingsFile_);
    app::writeAccount(ini, s.googleId, s.googlePw);
    app::saveSettingsFile(ini);
  }
  startSession();
}

void TFrmNavigate::startSession() {
  if (switching_) {
    requests_->forgetHeld();
    emit treeResetRequested();
    switching_ = false;
  }
  TmrToken->start();
  emit signedIn();
}

void TFrmNavigate::tokenTick() {
  TmrToken->stop();
  runRequest([this] { requests_->tokenTick(); });
}

}  // namespace ui
