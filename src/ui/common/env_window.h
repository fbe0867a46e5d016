// The settings window "환경설정": the Google account, my address, the mail
// alarm, the reminder sound and start at login.  At the first start it asks
// for the account before the main window is created.
#pragma once

#include <functional>

#include "ui/common/skinned_window.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace app {
struct AppSettings;
}

namespace ui {

class TFrmEnv : public SkinnedWindow {
  Q_OBJECT
 public:
  // Shows and, when confirmed, stores the values of `settings` (the
  // process-wide record by default) and its settings file.
  explicit TFrmEnv(app::AppSettings& settings, QWidget* parent = nullptr);
  explicit TFrmEnv(QWidget* parent = nullptr);

  QString googleId() const;
  QString password() const;
  // Shows the window modally (centred); true when confirmed with both boxes filled.
  bool execModal();

  // Looks up the position of settings.myAddress (longitude, latitude, map X
  // and Y).  Until a geocoder is installed the stored position is kept.
  static void setAddressLocator(std::function<void(app::AppSettings&)> locator);

  QLabel* LblCaption = nullptr;
  QLineEdit* EdGoogle = nullptr;
  QLineEdit* EdGooglePw = nullptr;
  QLineEdit* EdAddress = nullptr;
  QPushButton* BtnMap = nullptr;
  QCheckBox* ChkAlarmEmail = nullptr;
  QPushButton* BtnMailSetting = nullptr;
  QCheckBox* ChkAlarmSound = nullptr;
  QCheckBox* ChkAutoExe = nullptr;
  QPushButton* BtnOk = nullptr;

 signals:
  // "약도": the user wants to see the address on the map.
  void mapRequested(const QString& address);
  // "이메일 설정": the mail alarm conditions window.
  void mailSettingsRequested();

 protected:
  void closeButtonClicked() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createControls();
  void fillFromSettings();
  void updateButtons();
  void EdAddressChange();
  void BtnMapClick();
  void BtnOkClick();
  bool validate();
  void storeSettings();

  app::AppSettings& settings_;
  QLabel* LblMessage = nullptr;
  bool confirmed_ = false;
};

// The address without the word "직할시" (old names of metropolitan cities).
QString withoutJikhalsi(const QString& address);

}  // namespace ui
