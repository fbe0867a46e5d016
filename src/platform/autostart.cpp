#include "platform/autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace platform {

QString autostartFilePath() {
  QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (config.isEmpty()) config = QDir::homePath() + "/.config";
  return config + "/autostart/daybook.desktop";
}

bool setAutostart(bool on, const QString& executable) {
  const QString path = autostartFilePath();
  if (!on) return !QFile::exists(path) || QFile::remove(path);
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  QString quoted = executable;
  quoted.replace('"', "\\\"");
  const QString text = QStringLiteral(
                           "[Desktop Entry]\n"
                           "Type=Application\n"
                           "Name=데이북\n"
                           "Comment=보다 쉽고 편리한 캘린더 프로그램\n"
                           "Exec=\"%1\"\n"
                           "Terminal=false\n"
                           "X-GNOME-Autostart-enabled=true\n")
                           .arg(quoted);
  file.write(text.toUtf8());
  return file.commit();
}

bool isAutostartEnabled() { return QFile::exists(autostartFilePath()); }

}  // namespace platform
