// Joins the main window's views to the Google connection window: the load
// chain's downloads go through the request layer, the sign-in message
// (5280) runs the token tick and loads the calendars, the log-in button
// starts a sign-in with another account, and the exit sends the queued
// deletions and stores the session.
#pragma once

#include <QObject>

#include "ui/main/item_commands.h"

namespace ui {

class TFrmMain;
class TFrmNavigate;

class GoogleConnection : public QObject, public ItemCommandSink {
  Q_OBJECT
 public:
  GoogleConnection(TFrmMain& main, TFrmNavigate& navigate);

  // The first-show decision: a recent session loads by itself; otherwise
  // the connection window comes up and signs in.
  void start();

  bool downloadLink(gsync::ChainLink link) override;
  bool downloadItems(const gsync::ListSlot& slot) override;

 private:
  void signedIn();
  void loginClicked();
  void exiting();

  TFrmMain& main_;
  TFrmNavigate& navigate_;
};

}  // namespace ui
