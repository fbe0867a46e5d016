#include "ui/main/detail_pane.h"

#include <QDesktopServices>
#include <QScrollBar>
#include <QUrl>

#include "sync/item_views.h"
#include "ui/common/skin.h"

namespace ui {

QString detailHtml(const std::vector<std::string>& lines) {
  QString html = QStringLiteral("<div style=\"white-space: pre-wrap;\">");
  bool first = true;
  for (const std::string& line : lines) {
    if (!first) html += QStringLiteral("<br>");
    first = false;
    for (const gsync::TextSpan& span : gsync::linkSpans(line)) {
      const QString text = QString::fromStdString(span.text).toHtmlEscaped();
      if (span.url.empty()) {
        html += text;
      } else {
        const QString url = QString::fromUtf8(QUrl(QString::fromStdString(span.url)).toEncoded()).toHtmlEscaped();
        html += QStringLiteral("<a href=\"%1\">%2</a>").arg(url, text);
      }
    }
  }
  return html + QStringLiteral("</div>");
}

DetailPane::DetailPane(QWidget* parent) : QTextBrowser(parent) {
  setObjectName(QStringLiteral("MemDetail"));
  setReadOnly(true);
  setOpenLinks(false);
  setOpenExternalLinks(false);
  setFont(koreanFont(9));
  setFrameShape(QFrame::NoFrame);
  setStyleSheet(QStringLiteral("QTextBrowser { background: white; } QTextBrowser:focus { background: rgb(223,254,143); }"));
  document()->setDocumentMargin(6);
  opener_ = [](const QUrl& url) { QDesktopServices::openUrl(url); };
  connect(this, &QTextBrowser::anchorClicked, this, &DetailPane::openLink);
}

void DetailPane::showLines(const std::vector<std::string>& lines) {
  clear();
  if (!lines.empty()) setHtml(detailHtml(lines));
  verticalScrollBar()->setValue(0);
}

void DetailPane::openLink(const QUrl& url) {
  if (!url.isValid() || !gsync::isOpenableUrl(url.toString().toStdString())) return;
  if (opener_) opener_(url);
}

}  // namespace ui
