// Message windows shown by every window of the program.  Each is modal and
// titled with the caption of the window that shows it ("데이북" without one).
#pragma once

#include <QString>

class QWidget;

namespace ui {

// The title of messages shown over `owner`.
QString messageTitle(const QWidget* owner);

// A notice window with one text and a "확인(&O)" button, centred over the
// owner (or the screen), shown modally until closed.
void showMessage(QWidget* owner, const QString& text);

// A refusal or an error: exclamation icon, one "확인" button.
void showWarning(QWidget* owner, const QString& text);

// A confirmation: information icon with "예", "아니요" and "취소"; true only
// when the user answers "예".
bool askConfirm(QWidget* owner, const QString& text);

}  // namespace ui
