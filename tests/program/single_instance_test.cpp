#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "app/settings.h"
#include "base/ini.h"

namespace {

QCoreApplication& application() {
  static int argc = 1;
  static char name[] = "program_tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* app = new QCoreApplication(argc, argv);
  return *app;
}

QProcessEnvironment programEnvironment(const QString& home) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DAYBOOK_HOME", home);
  env.insert("DAYBOOK_CACHE", home + "/cache");
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_RUNTIME_DIR", home + "/run");
  return env;
}

}  // namespace

TEST(Program, SecondStartExitsAndTheFirstStays) {
  application();
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  QDir(home.path()).mkpath("run");
  QFile::setPermissions(home.path() + "/run", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  // A stored account, so that the first copy goes straight to its main window.
  base::IniFile ini((home.path() + "/daybook.ini").toStdString());
  app::writeAccount(ini, "hong", "pw", "gmail.com");
  ASSERT_TRUE(app::saveSettingsFile(ini));

  const QString program = QStringLiteral(DAYBOOK_BINARY_DIR "/daybook");
  QProcess first;
  first.setProcessEnvironment(programEnvironment(home.path()));
  first.start(program, {});
  ASSERT_TRUE(first.waitForStarted());
  QThread::msleep(2500);  // past the splash, listening
  ASSERT_EQ(first.state(), QProcess::Running) << first.readAllStandardError().toStdString();

  QProcess second;
  second.setProcessEnvironment(programEnvironment(home.path()));
  QElapsedTimer clock;
  clock.start();
  second.start(program, {});
  ASSERT_TRUE(second.waitForFinished(5000));
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_LT(clock.elapsed(), 4000);
  EXPECT_EQ(first.state(), QProcess::Running);

  // Another program folder is another copy: it does not stop at the lock.
  QTemporaryDir otherHome;
  QDir(otherHome.path()).mkpath("run");
  QProcess other;
  other.setProcessEnvironment(programEnvironment(home.path()));
  QProcessEnvironment otherEnv = programEnvironment(otherHome.path());
  otherEnv.insert("XDG_RUNTIME_DIR", home.path() + "/run");
  other.setProcessEnvironment(otherEnv);
  other.start(program, {});
  ASSERT_TRUE(other.waitForStarted());
  EXPECT_FALSE(other.waitForFinished(1500));
  other.kill();
  other.waitForFinished();

  first.kill();
  first.waitForFinished();
}
