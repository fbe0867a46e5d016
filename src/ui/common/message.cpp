#include "ui/common/message.h"

#include <QMessageBox>
#include <QPushButton>

#include "ui/common/notice_window.h"
#include "ui/common/skin.h"

namespace ui {
namespace {

QMessageBox* messageBox(QWidget* owner, QMessageBox::Icon icon, const QString& text) {
  auto* box = new QMessageBox(icon, messageTitle(owner), text, QMessageBox::NoButton, owner);
  box->setObjectName(QStringLiteral("MessageBox"));
  box->setAttribute(Qt::WA_DeleteOnClose, false);
  box->setFont(koreanFont(9));
  box->setWindowModality(Qt::ApplicationModal);
  return box;
}

}  // namespace

QString messageTitle(const QWidget* owner) {
  const QWidget* window = owner ? owner->window() : nullptr;
  if (window && !window->windowTitle().isEmpty()) return window->windowTitle();
  return QStringLiteral("데이북");
}

void showMessage(QWidget* owner, const QString& text) {
  TFrmHi notice({text}, TFrmHi::Mode::Message, owner);
  notice.execModal();
}

void showWarning(QWidget* owner, const QString& text) {
  QMessageBox* box = messageBox(owner, QMessageBox::Warning, text);
  QPushButton* ok = box->addButton(QStringLiteral("확인"), QMessageBox::AcceptRole);
  box->setDefaultButton(ok);
  box->setEscapeButton(ok);
  box->exec();
  delete box;
}

bool askConfirm(QWidget* owner, const QString& text) {
  QMessageBox* box = messageBox(owner, QMessageBox::Information, text);
  QPushButton* yes = box->addButton(QStringLiteral("예(&Y)"), QMessageBox::YesRole);
  box->addButton(QStringLiteral("아니요(&N)"), QMessageBox::NoRole);
  QPushButton* cancel = box->addButton(QStringLiteral("취소"), QMessageBox::RejectRole);
  box->setDefaultButton(yes);
  box->setEscapeButton(cancel);
  box->exec();
  const bool proceed = box->clickedButton() == yes;
  delete box;
  return proceed;
}

}  // namespace ui
