#include "ui/common/env_window.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "ui/common/skin.h"

namespace ui {
namespace {
const QColor kEnvBarColour{53, 106, 83};

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
}  // namespace

TFrmEnv::TFrmEnv(const QString& googleId, const QString& password, QWidget* parent)
    : SkinnedWindow(QStringLiteral("환경설정"), kEnvBarColour, kMainClientColour, kClose, parent) {
  setWindowModality(Qt::ApplicationModal);
  resize(400, 190);
  label(QStringLiteral("구글 아이디:"), this, 24, 56);
  EdGoogle = editBox(this, 120, 52, 250);
  EdGoogle->setText(googleId);
  label(QStringLiteral("비밀번호:"), this, 24, 90);
  EdGooglePw = editBox(this, 120, 86, 250);
  EdGooglePw->setEchoMode(QLineEdit::Password);
  EdGooglePw->setText(password);
  LblMessage = label(QString(), this, 24, 122);
  LblMessage->setStyleSheet(QStringLiteral("color: rgb(200, 40, 40);"));
  LblMessage->resize(350, 18);
  BtnOk = new QPushButton(QStringLiteral("확인(&O)"), this);
  BtnOk->setFont(koreanFont(9));
  BtnOk->setGeometry(150, 148, 100, 28);
  BtnOk->setDefault(true);
  connect(BtnOk, &QPushButton::clicked, this, &TFrmEnv::BtnOkClick);
  connect(this, &SkinnedWindow::confirmed, this, &TFrmEnv::BtnOkClick);
  EdGoogle->installEventFilter(this);
  EdGooglePw->installEventFilter(this);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - rect().center());
}

QString TFrmEnv::googleId() const { return EdGoogle->text().trimmed(); }
QString TFrmEnv::password() const { return EdGooglePw->text(); }

bool TFrmEnv::eventFilter(QObject* watched, QEvent* event) {
  // Enter in the id or password box moves on to the next control.
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (watched == EdGoogle) EdGooglePw->setFocus();
      if (watched == EdGooglePw) BtnOk->setFocus();
      return true;
    }
  }
  return SkinnedWindow::eventFilter(watched, event);
}

void TFrmEnv::BtnOkClick() {
  if (googleId().isEmpty()) {
    LblMessage->setText(QStringLiteral("구글 아이디를 입력하세요."));
    EdGoogle->setFocus();
    return;
  }
  if (password().isEmpty()) {
    LblMessage->setText(QStringLiteral("비밀번호를 입력하세요."));
    EdGooglePw->setFocus();
    return;
  }
  confirmed_ = true;
  close();
}

void TFrmEnv::closeButtonClicked() {
  confirmed_ = false;
  close();
}

bool TFrmEnv::execModal() {
  confirmed_ = false;
  QEventLoop loop;
  connect(this, &SkinnedWindow::closed, &loop, &QEventLoop::quit);
  show();
  raise();
  activateWindow();
  EdGoogle->setFocus();
  loop.exec();
  return confirmed_ && !googleId().isEmpty() && !password().isEmpty();
}

}  // namespace ui
