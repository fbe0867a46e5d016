// The read-only pane under the schedule list that describes the current row,
// with its web and mail addresses as links.
#pragma once

#include <QTextBrowser>
#include <functional>
#include <string>
#include <vector>

namespace ui {

class DetailPane : public QTextBrowser {
  Q_OBJECT
 public:
  explicit DetailPane(QWidget* parent = nullptr);

  // Shows the lines (plain text: markup in them is shown as written).
  void showLines(const std::vector<std::string>& lines);
  // How links are opened; the user's browser or mail program by default.
  // Only http, https and mailto addresses reach it.
  void setLinkOpener(std::function<void(const QUrl&)> opener) { opener_ = std::move(opener); }
  void openLink(const QUrl& url);

 private:
  std::function<void(const QUrl&)> opener_;
};

// The pane's HTML for the lines.
QString detailHtml(const std::vector<std::string>& lines);

}  // namespace ui
