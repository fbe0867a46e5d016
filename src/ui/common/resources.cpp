#include "ui/common/resources.h"

#include <QFile>
#include <QImageReader>
#include <QMovie>
#include <QRegularExpression>
#include <QtDebug>

// The generated resource code lives in an object library that nothing calls by
// name; registering it here keeps it in every program that loads a resource.
static void registerCompiledResources() { Q_INIT_RESOURCE(daybook_resources); }

namespace ui {
namespace {

struct TypeInfo {
  const char* type;
  const char* folder;
  const char* suffix;
  const char* imageFormat;  // for QImage, nullptr for text
};

constexpr TypeInfo kTypes[] = {
    {"PNG", "images", "png", "PNG"}, {"ICO", "images", "ico", "ICO"}, {"GIF", "images", "gif", "GIF"},
    {"JPG", "images", "jpg", "JPG"}, {"TXT", "text", "txt", nullptr},
};

// Picture types tried, in this order, when only a name is given.
constexpr const char* kPictureTypes[] = {"PNG", "ICO", "JPG", "GIF"};

void ensureRegistered() {
  static const bool registered = [] {
    registerCompiledResources();
    return true;
  }();
  (void)registered;
}

const TypeInfo* typeInfo(const QString& type) {
  for (const TypeInfo& t : kTypes)
    if (type.compare(QLatin1String(t.type), Qt::CaseInsensitive) == 0) return &t;
  return nullptr;
}

bool isPlainName(const QString& name) {
  static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_]+$"));
  return plain.match(name).hasMatch();
}

void reportMissing(const QString& name, const QString& type) {
  qWarning().noquote() << "resource not found:" << name << type;
}

// The type under which a picture name exists, or an empty string.
QString pictureTypeOf(const QString& name) {
  for (const char* type : kPictureTypes)
    if (hasResource(name, QLatin1String(type))) return QLatin1String(type);
  return {};
}

QImage decodeImage(const QByteArray& bytes, const TypeInfo& info) {
  QImage image;
  image.loadFromData(bytes, info.imageFormat);
  return image;
}

QStringList splitLines(const QString& text) {
  QStringList lines = text.split(QLatin1Char('\n'));
  for (QString& line : lines)
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

}  // namespace

QString resourcePath(const QString& name, const QString& type) {
  const TypeInfo* info = typeInfo(type);
  if (!info || !isPlainName(name)) return {};
  return QStringLiteral(":/%1/%2.%3").arg(QLatin1String(info->folder), name, QLatin1String(info->suffix));
}

bool hasResource(const QString& name, const QString& type) {
  ensureRegistered();
  const QString path = resourcePath(name, type);
  return !path.isEmpty() && QFile::exists(path);
}

std::optional<QByteArray> loadResource(const QString& name, const QString& type) {
  ensureRegistered();
  const QString path = resourcePath(name, type);
  if (path.isEmpty()) return std::nullopt;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll();
}

QImage loadImage(const QString& name, const QString& type) {
  const TypeInfo* info = typeInfo(type);
  const auto bytes = loadResource(name, type);
  if (!info || !info->imageFormat || !bytes) {
    reportMissing(name, type);
    return {};
  }
  return decodeImage(*bytes, *info);
}

QImage loadImage(const QString& name) {
  const QString type = pictureTypeOf(name);
  if (type.isEmpty()) {
    reportMissing(name, QStringLiteral("picture"));
    return {};
  }
  return loadImage(name, type);
}

QPixmap loadPixmap(const QString& name, const QString& type) { return QPixmap::fromImage(loadImage(name, type)); }

QPixmap loadPixmap(const QString& name) { return QPixmap::fromImage(loadImage(name)); }

QIcon loadIcon(const QString& name) {
  if (hasResource(name, QStringLiteral("ICO"))) {
    QIcon icon;
    QImageReader reader(resourcePath(name, QStringLiteral("ICO")), "ICO");
    do {
      const QImage image = reader.read();
      if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
    } while (reader.jumpToNextImage());
    return icon;
  }
  const QPixmap pixmap = loadPixmap(name);
  return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

QMovie* loadMovie(const QString& name, QObject* parent) {
  const QString type = QStringLiteral("GIF");
  if (!hasResource(name, type)) {
    reportMissing(name, type);
    return nullptr;
  }
  auto* movie = new QMovie(resourcePath(name, type), "GIF", parent);
  movie->setCacheMode(QMovie::CacheAll);
  movie->start();
  return movie;
}

QStringList loadTextResource(const QString& name) {
  const auto bytes = loadResource(name, QStringLiteral("TXT"));
  if (!bytes) {
    reportMissing(name, QStringLiteral("TXT"));
    return {};
  }
  return splitLines(QString::fromUtf8(*bytes));
}

}  // namespace ui
