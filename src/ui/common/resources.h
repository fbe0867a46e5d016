#pragma once

// Pictures and text templates compiled into the program (resources/), looked
// up by name and type.  Types are "PNG", "ICO", "GIF", "JPG" and "TXT"
// (case-insensitive); a name is letters, digits and "_" ("IMAGE_ADD").
//
// Nothing here throws or crashes on a missing resource: the typed loaders
// return an empty value (null pixmap, empty list, nullptr movie) and log a
// warning; loadResource and hasResource report the miss to callers that care.

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <optional>

class QMovie;
class QObject;

namespace ui {

// ":/images/NAME.png" and so on, or an empty string for an unknown type or a
// name that is not a plain resource name.
QString resourcePath(const QString& name, const QString& type);

bool hasResource(const QString& name, const QString& type);

// The raw bytes of the resource, std::nullopt when there is none.
std::optional<QByteArray> loadResource(const QString& name, const QString& type);

// Pictures.  Without a type the name is looked up as PNG, ICO, JPG and GIF in
// that order (every picture name exists in one type only).  An icon gives its
// first (smallest) image, a GIF its first frame.
QImage loadImage(const QString& name);
QImage loadImage(const QString& name, const QString& type);
QPixmap loadPixmap(const QString& name);
QPixmap loadPixmap(const QString& name, const QString& type);

// All sizes of an icon file; a PNG of that name serves as a one-size icon.
QIcon loadIcon(const QString& name);

// An animated GIF, already started and looping as the file says; owned by
// parent.  nullptr when the picture does not exist.
QMovie* loadMovie(const QString& name, QObject* parent = nullptr);

// A text template as its lines (UTF-8, CR LF or LF line ends, no trailing
// empty line); empty when it does not exist.
QStringList loadTextResource(const QString& name);

}  // namespace ui
