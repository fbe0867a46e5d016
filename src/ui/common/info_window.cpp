#include "ui/common/info_window.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QUrl>

#include "ui/common/resources.h"
#include "ui/common/skin.h"

#ifndef DAYBOOK_ACCOUNT_SECURITY_PAGE
#define DAYBOOK_ACCOUNT_SECURITY_PAGE "https://myaccount.google.com/security"
#endif

namespace ui {
namespace {
const QColor kInfoBarColour{56, 194, 125};
}

TFrmInfo::TFrmInfo(QWidget* parent)
    : SkinnedWindow(QStringLiteral("지메일 설정"), kInfoBarColour, kMainClientColour, kClose, parent) {
  setObjectName(QStringLiteral("TFrmInfo"));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setAttribute(Qt::WA_DeleteOnClose);
  setFocusPolicy(Qt::StrongFocus);
  resize(999, 279);
  ImgWarning = new QLabel(this);
  ImgWarning->setGeometry(2, 30, 995, 247);
  ImgWarning->setPixmap(loadPixmap(QStringLiteral("IMAGE_MAILWARNING")));
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void TFrmInfo::keyPressEvent(QKeyEvent* event) {
  event->accept();
  close();
}

QString accountSecurityPage() { return QStringLiteral(DAYBOOK_ACCOUNT_SECURITY_PAGE); }

void showGmailHelp() {
  auto* help = new TFrmInfo;
  help->show();
  help->setFocus();
  QDesktopServices::openUrl(QUrl(accountSecurityPage()));
}

}  // namespace ui
