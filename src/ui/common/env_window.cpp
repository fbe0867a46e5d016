#include "ui/common/env_window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "app/settings.h"
#include "base/ini.h"
#include "base/secret.h"
#include "platform/autostart.h"
#include "ui/common/message.h"
#include "ui/common/resources.h"
#include "ui/common/skin.h"

namespace ui {
namespace {

const QColor kEnvBarColour{53, 106, 83};
const QString kJikhalsi = QStringLiteral("직할시");

std::function<void(app::AppSettings&)>& addressLocator() {
  static std::function<void(app::AppSettings&)> locator;
  return locator;
}

QLabel* label(const QString& text, QWidget* parent, int x, int y) {
  auto* l = new QLabel(text, parent);
  l->setFont(koreanFont(9));
  l->adjustSize();
  l->move(x, y);
  return l;
}

QLineEdit* editBox(QWidget* parent, int x, int y, int w) {
  auto* e = new QLineEdit(parent);
  e->setFont(koreanFont(9));
  e->setGeometry(x, y, w, 22);
  e->setStyleSheet(QStringLiteral("QLineEdit { background: white; } "
                                  "QLineEdit:focus { background: rgb(223,254,143); }"));
  return e;
}

QCheckBox* checkBox(const QString& text, QWidget* parent, int x, int y) {
  auto* c = new QCheckBox(text, parent);
  c->setFont(koreanFont(9));
  c->adjustSize();
  c->move(x, y);
  return c;
}

QPushButton* button(const QString& text, QWidget* parent, const QRect& geometry) {
  auto* b = new QPushButton(text, parent);
  b->setFont(koreanFont(9));
  b->setGeometry(geometry);
  return b;
}

}  // namespace

QString withoutJikhalsi(const QString& address) {
  QString text = address;
  return text.remove(kJikhalsi);
}

TFrmEnv::TFrmEnv(QWidget* parent) : TFrmEnv(app::settings(), parent) {}

TFrmEnv::TFrmEnv(app::AppSettings& settings, QWidget* parent)
    : SkinnedWindow(QStringLiteral("환경설정"), kEnvBarColour, kMainClientColour, kClose, parent),
      settings_(settings) {
  setObjectName(QStringLiteral("TFrmEnv"));
  setWindowModality(Qt::ApplicationModal);
  setFont(koreanFont(9));
  resize(551, 271);
  createControls();
  fillFromSettings();
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void TFrmEnv::createControls() {
  // The hidden caption label carries the title font of every skinned caption.
  LblCaption = new QLabel(captionTitle(), this);
  LblCaption->setFont(koreanFont(9, true));
  LblCaption->hide();
  setTitleFontSize(LblCaption->font().pointSize());

  label(QStringLiteral("구글 아이디:"), this, 30, 54);
  EdGoogle = editBox(this, 120, 50, 220);
  label(QStringLiteral("비밀번호:"), this, 30, 86);
  EdGooglePw = editBox(this, 120, 82, 220);
  EdGooglePw->setEchoMode(QLineEdit::Password);
  EdGooglePw->setStyleSheet(EdGooglePw->styleSheet() +
                            QStringLiteral(" QLineEdit { lineedit-password-character: 42; }"));
  label(QStringLiteral("주소:"), this, 30, 118);
  EdAddress = editBox(this, 120, 114, 320);
  BtnMap = button(QStringLiteral("약도"), this, QRect(448, 113, 72, 24));
  BtnMap->setIcon(loadIcon(QStringLiteral("IMAGE_MAP")));

  ChkAlarmEmail = checkBox(QStringLiteral("이메일 알람"), this, 120, 148);
  BtnMailSetting = button(QStringLiteral("이메일 설정"), this, QRect(240, 145, 96, 24));
  ChkAlarmSound = checkBox(QStringLiteral("알람 소리"), this, 120, 174);
  ChkAutoExe = checkBox(QStringLiteral("컴퓨터를 시작할 때 자동실행"), this, 120, 200);

  LblMessage = label(QString(), this, 30, 205);
  LblMessage->setStyleSheet(QStringLiteral("color: rgb(200, 40, 40);"));
  LblMessage->setGeometry(340, 200, 190, 18);
  LblMessage->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  BtnOk = button(QStringLiteral("확인(&O)"), this, QRect((551 - 100) / 2, 228, 100, 28));
  BtnOk->setDefault(true);

  connect(BtnOk, &QPushButton::clicked, this, &TFrmEnv::BtnOkClick);
  connect(this, &SkinnedWindow::confirmed, this, &TFrmEnv::BtnOkClick);
  connect(EdAddress, &QLineEdit::textEdited, this, &TFrmEnv::EdAddressChange);
  connect(EdAddress, &QLineEdit::textChanged, this, &TFrmEnv::updateButtons);
  connect(ChkAlarmEmail, &QCheckBox::toggled, this, &TFrmEnv::updateButtons);
  connect(BtnMap, &QPushButton::clicked, this, &TFrmEnv::BtnMapClick);
  connect(BtnMailSetting, &QPushButton::clicked, this, &TFrmEnv::mailSettingsRequested);
  EdGoogle->installEventFilter(this);
  EdGooglePw->installEventFilter(this);
}

void TFrmEnv::fillFromSettings() {
  EdGoogle->setText(QString::fromStdString(settings_.googleId));
  EdGooglePw->setText(QString::fromStdString(settings_.googlePw));
  EdAddress->setText(QString::fromStdString(settings_.myAddress));
  ChkAlarmEmail->setChecked(settings_.alarmEmail);
  ChkAlarmSound->setChecked(settings_.alarmSound);
  ChkAutoExe->setChecked(settings_.autoExe);
  updateButtons();
}

void TFrmEnv::setAddressLocator(std::function<void(app::AppSettings&)> locator) {
  addressLocator() = std::move(locator);
}

QString TFrmEnv::googleId() const { return EdGoogle->text().trimmed(); }
QString TFrmEnv::password() const { return EdGooglePw->text(); }

void TFrmEnv::updateButtons() {
  BtnMap->setEnabled(!EdAddress->text().trimmed().isEmpty());
  BtnMailSetting->setEnabled(ChkAlarmEmail->isChecked());
}

bool TFrmEnv::eventFilter(QObject* watched, QEvent* event) {
  // Enter in the id or password box moves on to the next control.
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (watched == EdGoogle) EdGooglePw->setFocus();
      if (watched == EdGooglePw) EdAddress->setFocus();
      return true;
    }
  }
  return SkinnedWindow::eventFilter(watched, event);
}

void TFrmEnv::EdAddressChange() {
  const QString text = EdAddress->text();
  if (!text.contains(kJikhalsi)) return;
  const int cursor = EdAddress->cursorPosition();
  const int before = int(withoutJikhalsi(text.left(cursor)).size());
  EdAddress->setText(withoutJikhalsi(text));
  EdAddress->setCursorPosition(before);
}

void TFrmEnv::BtnMapClick() {
  showMessage(this, QStringLiteral("지도에서 주소를 클릭한후 '지도공유 -> 지도 퍼가기'를 선택하세요."));
  emit mapRequested(EdAddress->text().trimmed());
}

bool TFrmEnv::validate() {
  if (googleId().isEmpty()) {
    LblMessage->setText(QStringLiteral("구글 아이디를 입력하세요."));
    EdGoogle->setFocus();
    return false;
  }
  if (password().isEmpty()) {
    LblMessage->setText(QStringLiteral("비밀번호를 입력하세요."));
    EdGooglePw->setFocus();
    return false;
  }
  return true;
}

void TFrmEnv::storeSettings() {
  app::AppSettings& s = settings_;
  s.googleId = app::withMailDomain(googleId().toStdString());
  s.loginId = s.googleId;
  s.googlePw = password().toStdString();
  const QString address = EdAddress->text().trimmed();
  if (!address.isEmpty()) {
    s.myAddress = address.toStdString();
    if (addressLocator()) addressLocator()(s);
  }
  s.alarmEmail = ChkAlarmEmail->isChecked();
  s.alarmSound = ChkAlarmSound->isChecked();
  s.autoExe = ChkAutoExe->isChecked();

  if (!s.settingsFile.empty()) {
    base::IniFile ini(s.settingsFile);
    app::writeAccount(ini, s.googleId, s.googlePw);
    if (!address.isEmpty())
      ini.writeString("Environment", "MyAddress", base::encodeSecret(app::formatMyAddress(s)));
    ini.writeBool("Environment", "AlarmEmail", s.alarmEmail);
    ini.writeBool("Environment", "AlarmSound", s.alarmSound);
    ini.writeBool("Environment", "AutoExe", s.autoExe);
    if (!app::saveSettingsFile(ini))
      showWarning(this, QStringLiteral("설정 파일을 저장하지 못했습니다. 이번 실행에만 적용됩니다."));
  }
  // Start at login is a convenience: when it cannot be changed nothing else suffers.
  platform::setAutostart(s.autoExe, QCoreApplication::applicationFilePath());
}

void TFrmEnv::BtnOkClick() {
  if (!validate()) return;
  storeSettings();
  confirmed_ = true;
  close();
}

void TFrmEnv::closeButtonClicked() {
  confirmed_ = false;
  close();
}

bool TFrmEnv::execModal() {
  confirmed_ = false;
  runModal(EdGoogle);
  return confirmed_ && !googleId().isEmpty() && !password().isEmpty();
}

}  // namespace ui
