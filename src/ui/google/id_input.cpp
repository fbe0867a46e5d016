#include "ui/google/id_input.h"

#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/settings.h"
#include "ui/common/message.h"
#include "ui/common/skin.h"

namespace ui {

TFrmIdInput::TFrmIdInput(QWidget* parent)
    : SkinnedWindow(QStringLiteral("구글 아이디 추가"), kMainBarColour, kMainClientColour, kClose, parent) {
  setWindowModality(Qt::ApplicationModal);
  setFixedSize(300, 150);
  auto* idLabel = new QLabel(QStringLiteral("구글 아이디:"), this);
  idLabel->setGeometry(16, 45, 80, 22);
  EdId = new QLineEdit(this);
  EdId->setObjectName(QStringLiteral("EdId"));
  EdId->setGeometry(100, 45, 180, 22);
  EdId->setMaxLength(80);
  auto* pwLabel = new QLabel(QStringLiteral("비밀번호:"), this);
  pwLabel->setGeometry(16, 75, 80, 22);
  EdPw = new QLineEdit(this);
  EdPw->setObjectName(QStringLiteral("EdPw"));
  EdPw->setGeometry(100, 75, 180, 22);
  EdPw->setEchoMode(QLineEdit::Password);
  BtnOk = new QPushButton(QStringLiteral("확인"), this);
  BtnOk->setObjectName(QStringLiteral("BtnOk"));
  BtnOk->setGeometry(110, 110, 80, 26);
  EdId->installEventFilter(this);
  EdPw->installEventFilter(this);
  connect(EdId, &QLineEdit::textChanged, this, &TFrmIdInput::updateOk);
  connect(EdPw, &QLineEdit::textChanged, this, &TFrmIdInput::updateOk);
  connect(BtnOk, &QPushButton::clicked, this, &TFrmIdInput::BtnOkClick);
  updateOk();
}

void TFrmIdInput::setAccount(const QString& address, const QString& password) {
  EdId->setText(address);
  EdPw->setText(password);
  if (!address.isEmpty()) setPaintedTitle(QStringLiteral("구글 아이디 수정"));
}

QString TFrmIdInput::address() const {
  return QString::fromStdString(app::withMailDomain(EdId->text().trimmed().toStdString()));
}

QString TFrmIdInput::password() const { return EdPw->text(); }

void TFrmIdInput::updateOk() {
  BtnOk->setEnabled(!EdId->text().trimmed().isEmpty() && !EdPw->text().trimmed().isEmpty());
}

void TFrmIdInput::BtnOkClick() {
  for (QLineEdit* edit : {EdId, EdPw}) {
    if (edit->text().trimmed().isEmpty()) {
      showWarning(this, QStringLiteral("다시 입력해주세요."));
      edit->setFocus();
      edit->selectAll();
      return;
    }
  }
  confirmed_ = true;
  close();
}

bool TFrmIdInput::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (watched == EdId) {
        EdPw->setFocus();
      } else if (BtnOk->isEnabled()) {
        BtnOkClick();
      }
      return true;
    }
  }
  return SkinnedWindow::eventFilter(watched, event);
}

bool TFrmIdInput::execModal() {
  confirmed_ = false;
  runModal(EdId);
  return confirmed_ && !address().isEmpty();
}

}  // namespace ui
