// One running copy per user and program folder.  The first copy holds a lock
// file and listens on a local socket; a later copy finds the lock taken,
// asks the first copy to come to the front and ends.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace platform {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // `key` distinguishes independent copies (e.g. the program folder).
  explicit SingleInstance(const QString& key, QObject* parent = nullptr);
  ~SingleInstance() override;

  // True when this process is the first copy (it then listens for others).
  bool tryBecomePrimary();
  // Asks the running copy to raise its main window; true when it answered.
  bool notifyPrimary(int timeoutMs = 3000);

  QString serverName() const { return serverName_; }

 signals:
  // A second copy asked to be shown (the first copy raises its main window).
  void activationRequested();

 private:
  void acceptConnections();

  QString serverName_;
  std::unique_ptr<QLockFile> lock_;
  QLocalServer* server_ = nullptr;
};

}  // namespace platform
