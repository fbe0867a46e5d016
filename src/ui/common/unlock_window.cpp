#include "ui/common/unlock_window.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "ui/common/skin.h"

namespace ui {
namespace {
const QColor kUnlockBarColour{0, 128, 192};
const QColor kTitleShadowColour{45, 45, 45};
}  // namespace

TFrmUnlock::TFrmUnlock(QWidget* parent)
    : SkinnedWindow(QStringLiteral("잠금 해제"), kUnlockBarColour, kMainClientColour, kClose, nullptr) {
  setObjectName(QStringLiteral("TFrmUnlock"));
  setFont(koreanFont(9));
  resize(300, 167);
  auto* label = new QLabel(QStringLiteral("구글 비밀번호:"), this);
  label->setFont(koreanFont(9));
  label->setGeometry(24, 58, 100, 22);
  EdPassword = new QLineEdit(this);
  EdPassword->setFont(koreanFont(9));
  EdPassword->setEchoMode(QLineEdit::Password);
  EdPassword->setGeometry(120, 58, 156, 22);
  EdPassword->setStyleSheet(QStringLiteral("QLineEdit { background: white; lineedit-password-character: 42; } "
                                           "QLineEdit:focus { background: rgb(223,254,143); }"));
  BtnOk = new QPushButton(QStringLiteral("확인(&O)"), this);
  BtnOk->setFont(koreanFont(9));
  BtnOk->setGeometry(62, 112, 84, 28);
  BtnCancel = new QPushButton(QStringLiteral("취소(&C)"), this);
  BtnCancel->setFont(koreanFont(9));
  BtnCancel->setGeometry(154, 112, 84, 28);
  connect(BtnOk, &QPushButton::clicked, this, &TFrmUnlock::BtnOkClick);
  connect(BtnCancel, &QPushButton::clicked, this, &QWidget::close);
  connect(this, &SkinnedWindow::confirmed, this, &TFrmUnlock::BtnOkClick);
  if (parent && parent->window()->isVisible())
    move(parent->window()->frameGeometry().center() - rect().center());
  else if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void TFrmUnlock::repaintBackground() {
  skin_ = paintCaptionIcon(QStringLiteral("IMAGE_KEY"), captionTitle(), width(), height(), kUnlockBarColour,
                           kMainClientColour, kTitleShadowColour);
  update();
}

void TFrmUnlock::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, skin_);
}

void TFrmUnlock::BtnOkClick() {
  accepted_ = true;
  close();
}

std::optional<QString> TFrmUnlock::execModal() {
  accepted_ = false;
  setWindowModality(Qt::ApplicationModal);
  runModal(EdPassword);
  if (!accepted_) return std::nullopt;
  return EdPassword->text();
}

}  // namespace ui
