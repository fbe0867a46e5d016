#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImageReader>
#include <QMap>
#include <QMovie>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QTimeZone>
#include <QXmlStreamReader>
#include <nlohmann/json.hpp>

#include "ui/common/resources.h"

namespace {

QGuiApplication& application() {
  static int argc = 1;
  static char name[] = "ui_resources_tests";
  static char* argv[] = {name, nullptr};
  static auto* app = new QGuiApplication(argc, argv);
  return *app;
}

class Resources : public ::testing::Test {
 protected:
  void SetUp() override { application(); }
};

struct PictureCase {
  const char* name;
  const char* type;
  QSize size;  // empty: the callers take whatever size the picture has
};

const QSize kIcon(16, 16);
const QSize kTree(14, 16);
const QSize kCaptionButton(12, 12);
const QSize kAny;

// Every picture name the program asks for.
const std::vector<PictureCase>& pictures() {
  static const std::vector<PictureCase> cases = {
      {"IMAGE_24CLOCK", "PNG", {300, 300}},
      {"IMAGE_ADD", "PNG", kIcon},
      {"IMAGE_ADDRBOOK", "PNG", kIcon},
      {"IMAGE_BUSY0", "PNG", kIcon},
      {"IMAGE_BUSY1", "PNG", kIcon},
      {"IMAGE_BUSY2", "PNG", kIcon},
      {"IMAGE_BUSY3", "PNG", kIcon},
      {"IMAGE_BUSY4", "PNG", kIcon},
      {"IMAGE_BUSY5", "PNG", kIcon},
      {"IMAGE_BUSY6", "PNG", kIcon},
      {"IMAGE_BUSY7", "PNG", kIcon},
      {"IMAGE_CAR", "PNG", kIcon},
      {"IMAGE_CHECK", "PNG", kIcon},
      {"IMAGE_CHECKCLICK", "PNG", kIcon},
      {"IMAGE_CHEER", "GIF", kAny},
      {"IMAGE_CLOCK", "GIF", kAny},
      {"IMAGE_CLOSE", "PNG", kCaptionButton},
      {"IMAGE_CLOSE_ON", "PNG", kCaptionButton},
      {"IMAGE_COLOREVT", "PNG", kAny},
      {"IMAGE_COLORSEL", "PNG", kAny},
      {"IMAGE_CONFIGURE", "PNG", kIcon},
      {"IMAGE_D", "PNG", kIcon},
      {"IMAGE_DEMO", "PNG", kIcon},
      {"IMAGE_DIARY", "PNG", kIcon},
      {"IMAGE_EDIT", "PNG", kIcon},
      {"IMAGE_EXCEL", "PNG", kIcon},
      {"IMAGE_GCAL", "PNG", kTree},
      {"IMAGE_GOOGLE", "ICO", kIcon},
      {"IMAGE_GROUP", "PNG", kIcon},
      {"IMAGE_GTASK", "PNG", kTree},
      {"IMAGE_GTASKS", "PNG", kTree},
      {"IMAGE_HELLO", "JPG", kAny},
      {"IMAGE_HOTMAIL", "PNG", kIcon},
      {"IMAGE_KEY", "PNG", kIcon},
      {"IMAGE_KOREA", "PNG", kIcon},
      {"IMAGE_LOGIN", "GIF", kAny},
      {"IMAGE_M", "PNG", kIcon},
      {"IMAGE_MAIL", "PNG", kIcon},
      {"IMAGE_MAILWARNING", "PNG", {995, 247}},
      {"IMAGE_MAP", "PNG", kIcon},
      {"IMAGE_MAXMIZE", "PNG", kCaptionButton},
      {"IMAGE_MAXMIZE_ON", "PNG", kCaptionButton},
      {"IMAGE_MEETING", "PNG", kIcon},
      {"IMAGE_MEMBER", "PNG", kIcon},
      {"IMAGE_MEMORIAL", "PNG", kIcon},
      {"IMAGE_MINIMIZE", "PNG", kCaptionButton},
      {"IMAGE_MINIMIZE_ON", "PNG", kCaptionButton},
      {"IMAGE_MONEY", "PNG", kIcon},
      {"IMAGE_MOON", "PNG", kIcon},
      {"IMAGE_NEW", "PNG", kIcon},
      {"IMAGE_NONE", "PNG", kIcon},
      {"IMAGE_NORMAL", "PNG", kCaptionButton},
      {"IMAGE_NORMAL_ON", "PNG", kCaptionButton},
      {"IMAGE_OK", "PNG", kIcon},
      {"IMAGE_PIN", "PNG", kIcon},
      {"IMAGE_PLAY", "PNG", kIcon},
      {"IMAGE_PROGRESS", "PNG", {227, 87}},
      {"IMAGE_READ", "PNG", kIcon},
      {"IMAGE_REPLY", "PNG", kIcon},
      {"IMAGE_SAVE", "PNG", kIcon},
      {"IMAGE_SCHEDULE", "PNG", {225, 216}},
      {"IMAGE_SEARCH", "PNG", kIcon},
      {"IMAGE_SENDSMS", "PNG", kIcon},
      {"IMAGE_SHORT", "PNG", kIcon},
      {"IMAGE_SLIDER", "PNG", kAny},
      {"IMAGE_SLIDERBACK", "PNG", {144, 23}},
      {"IMAGE_SLIDERGRAB", "PNG", kAny},
      {"IMAGE_SLIDEROVER", "PNG", kAny},
      {"IMAGE_TRASH", "PNG", kIcon},
      {"IMAGE_UNREAD", "PNG", kIcon},
      {"IMAGE_VISIT_SITE", "PNG", kIcon},
      {"IMAGE_W", "PNG", kIcon},
      {"IMAGE_WORK", "PNG", kIcon},
      {"IMAGE_Y", "PNG", kIcon},
      {"IMAGE_YOUTUBE", "PNG", kIcon},
  };
  return cases;
}

bool isTransparentMagenta(const QImage& image, int x, int y) {
  const QRgb p = image.convertToFormat(QImage::Format_ARGB32).pixel(x, y);
  return qAlpha(p) == 0 && qRed(p) == 255 && qGreen(p) == 0 && qBlue(p) == 255;
}

// "key=value" lines as a map; a line without "=" fails the test.
QMap<QString, QString> keyValues(const QStringList& lines) {
  QMap<QString, QString> map;
  for (const QString& line : lines) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    EXPECT_GT(eq, 0) << line.toStdString();
    if (eq > 0) map.insert(line.left(eq), line.mid(eq + 1));
  }
  return map;
}

std::string text(const QString& s) { return s.toStdString(); }

}  // namespace

TEST_F(Resources, EveryPictureLoadsWithTheSizeItsCallersExpect) {
  for (const PictureCase& c : pictures()) {
    SCOPED_TRACE(c.name);
    const QString name = QLatin1String(c.name);
    ASSERT_TRUE(ui::hasResource(name, QLatin1String(c.type)));
    const QImage image = ui::loadImage(name, QLatin1String(c.type));
    ASSERT_FALSE(image.isNull());
    if (!c.size.isEmpty()) {
      EXPECT_EQ(image.size(), c.size);
    }
    // Lookup by name alone finds the same picture, whatever its type.
    EXPECT_EQ(ui::loadPixmap(name).size(), image.size());
  }
}

TEST_F(Resources, PictureNamesAreUniqueAcrossTypes) {
  const QDir images(QStringLiteral(":/images"));
  QSet<QString> seen;
  for (const QFileInfo& file : images.entryInfoList(QDir::Files)) {
    EXPECT_FALSE(seen.contains(file.completeBaseName())) << text(file.fileName());
    seen.insert(file.completeBaseName());
  }
}

TEST_F(Resources, TreeAndMarkPicturesAreTransparentOutsideTheirShape) {
  // Transparent pixels carry magenta, so colour-keyed drawing and alpha drawing agree.
  for (const char* name : {"IMAGE_GCAL", "IMAGE_GTASKS", "IMAGE_GTASK", "IMAGE_D", "IMAGE_W", "IMAGE_M", "IMAGE_Y",
                           "IMAGE_WORK", "IMAGE_MEETING", "IMAGE_MEMORIAL", "IMAGE_MONEY", "IMAGE_KOREA",
                           "IMAGE_MOON", "IMAGE_DIARY"}) {
    SCOPED_TRACE(name);
    const QImage image = ui::loadImage(QLatin1String(name));
    ASSERT_TRUE(image.hasAlphaChannel());
    EXPECT_TRUE(isTransparentMagenta(image, image.width() - 1, 0) || isTransparentMagenta(image, 0, 0));
  }
}

TEST_F(Resources, MonthPictureIsOpaqueUnderTheDayGridAndTransparentAtItsCorners) {
  const QImage month = ui::loadImage(QStringLiteral("IMAGE_SCHEDULE")).convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(month.size(), QSize(225, 216));
  for (int y = 59; y < 59 + 114; ++y)
    for (int x = 14; x < 14 + 196; ++x) ASSERT_EQ(qAlpha(month.pixel(x, y)), 255) << x << "," << y;
  EXPECT_TRUE(isTransparentMagenta(month, 0, month.height() - 1));
}

TEST_F(Resources, PaletteBasesHoldEveryColourSquare) {
  // Calendar colours: 12 a row from (6, 6), second row at top 26.  Event colours:
  // one row of 11 from (9, 6), 23 pixels apart.
  const QImage calendars = ui::loadImage(QStringLiteral("IMAGE_COLORSEL"));
  EXPECT_GE(calendars.width(), 11 * 20 + 6 + 16);
  EXPECT_GE(calendars.height(), 26 + 16);
  const QImage events = ui::loadImage(QStringLiteral("IMAGE_COLOREVT"));
  EXPECT_GE(events.width(), 10 * 23 + 9 + 16);
  EXPECT_GE(events.height(), 6 + 16);
}

TEST_F(Resources, AnimatedPicturesAnimateAndTheIconHasSeveralSizes) {
  for (const char* name : {"IMAGE_CHEER", "IMAGE_CLOCK", "IMAGE_LOGIN"}) {
    SCOPED_TRACE(name);
    QMovie* movie = ui::loadMovie(QLatin1String(name));
    ASSERT_NE(movie, nullptr);
    EXPECT_TRUE(movie->isValid());
    EXPECT_GT(movie->frameCount(), 1);
    EXPECT_EQ(movie->state(), QMovie::Running);
    EXPECT_EQ(movie->currentImage().size(), ui::loadImage(QLatin1String(name), QStringLiteral("GIF")).size());
    delete movie;
  }
  const QIcon icon = ui::loadIcon(QStringLiteral("IMAGE_GOOGLE"));
  EXPECT_TRUE(icon.availableSizes().contains(QSize(16, 16)));
  EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));
  EXPECT_EQ(icon.pixmap(QSize(32, 32)).size(), QSize(32, 32));
}

TEST_F(Resources, MissingOrMalformedNamesGiveEmptyValues) {
  const QString missing = QStringLiteral("IMAGE_NOT_THERE");
  EXPECT_FALSE(ui::hasResource(missing, QStringLiteral("PNG")));
  EXPECT_FALSE(ui::loadResource(missing, QStringLiteral("PNG")).has_value());
  EXPECT_TRUE(ui::loadPixmap(missing).isNull());
  EXPECT_TRUE(ui::loadImage(missing, QStringLiteral("JPG")).isNull());
  EXPECT_TRUE(ui::loadIcon(missing).isNull());
  EXPECT_EQ(ui::loadMovie(missing), nullptr);
  EXPECT_TRUE(ui::loadTextResource(QStringLiteral("NOT_THERE")).isEmpty());
  // A picture asked for under the wrong type, an unknown type, a path.
  EXPECT_TRUE(ui::loadImage(QStringLiteral("IMAGE_ADD"), QStringLiteral("GIF")).isNull());
  EXPECT_FALSE(ui::loadResource(QStringLiteral("IMAGE_ADD"), QStringLiteral("BMP")).has_value());
  EXPECT_FALSE(ui::loadResource(QStringLiteral("../text/GOOGLE_TASK"), QStringLiteral("TXT")).has_value());
  EXPECT_TRUE(ui::loadImage(QStringLiteral("GOOGLE_TASK"), QStringLiteral("TXT")).isNull());
  // Types are case-insensitive.
  EXPECT_TRUE(ui::loadResource(QStringLiteral("IMAGE_ADD"), QStringLiteral("png")).has_value());
}

TEST_F(Resources, TimeZoneListNamesRealZonesWithTheirStandardOffsets) {
  const QStringList lines = ui::loadTextResource(QStringLiteral("GOOGLE_TIMEZONE"));
  ASSERT_FALSE(lines.isEmpty());
  static const QRegularExpression form(QStringLiteral("^([A-Za-z_]+(?:/[A-Za-z_]+)*)=([+-])(\\d\\d):(\\d\\d)$"));
  const QDateTime winter(QDate(2025, 1, 15), QTime(12, 0), Qt::UTC);
  QSet<QString> names;
  for (const QString& line : lines) {
    SCOPED_TRACE(text(line));
    const auto m = form.match(line);
    ASSERT_TRUE(m.hasMatch());
    EXPECT_FALSE(names.contains(m.captured(1)));
    names.insert(m.captured(1));
    const QTimeZone zone(m.captured(1).toLatin1());
    ASSERT_TRUE(zone.isValid());
    const int offset = (m.captured(3).toInt() * 3600 + m.captured(4).toInt() * 60) * (m.captured(2) == "-" ? -1 : 1);
    EXPECT_EQ(zone.standardTimeOffset(winter), offset);
  }
  EXPECT_TRUE(lines.contains(QStringLiteral("Asia/Seoul=+09:00")));
}

TEST_F(Resources, MonthColoursCoverSundaySaturdayAndEveryMonth) {
  const auto colours = keyValues(ui::loadTextResource(QStringLiteral("CALENDAR_COLOR")));
  QStringList expected = {QStringLiteral("sun"), QStringLiteral("sat")};
  for (int month = 1; month <= 12; ++month) expected << QString::number(month);
  EXPECT_EQ(QSet<QString>(colours.keyBegin(), colours.keyEnd()), QSet<QString>(expected.begin(), expected.end()));
  for (auto it = colours.begin(); it != colours.end(); ++it)
    EXPECT_TRUE(QColor::isValidColor(it.value())) << text(it.key()) << "=" << text(it.value());
}

TEST_F(Resources, ItemFileSkeletonTakesOneItem) {
  const QString skeleton = ui::loadTextResource(QStringLiteral("GOOGLE_TASK")).join(QStringLiteral("\r\n"));
  ASSERT_EQ(skeleton.count(QLatin1Char('%')), 1);
  ASSERT_EQ(skeleton.count(QStringLiteral("%s")), 1);
  const std::string item = R"({"kind":"calendar#event","id":"ev1","summary":"회의"})";
  QString filled = skeleton;
  filled.replace(QStringLiteral("%s"), QString::fromStdString(item));
  const auto json = nlohmann::ordered_json::parse(filled.toStdString());
  ASSERT_TRUE(json.contains("items"));
  ASSERT_TRUE(json["items"].is_array());
  ASSERT_EQ(json["items"].size(), 1u);
  EXPECT_EQ(json["items"][0], nlohmann::ordered_json::parse(item));
}

TEST_F(Resources, PlayerPageEmbedsTheVideoCode) {
  const QString page = ui::loadTextResource(QStringLiteral("YOUTUBE_SCRIPT")).join(QStringLiteral("\r\n"));
  // A format text with exactly one argument and no other "%".
  ASSERT_EQ(page.count(QLatin1Char('%')), 1);
  ASSERT_EQ(page.count(QStringLiteral("%s")), 1);
  const QString filled = QString(page).replace(QStringLiteral("%s"), QStringLiteral("dQ8w9WgXcQ0"));
  static const QRegularExpression embed(QStringLiteral("<embed\\b[^>]*\\bsrc=\"[^\"]*/dQ8w9WgXcQ0[?\"]"));
  EXPECT_TRUE(embed.match(filled).hasMatch()) << text(filled);
}

namespace {

struct FieldKey {
  const char* key;
  QStringList placeholders;  // in the order they are replaced
};

const std::vector<FieldKey>& contactFieldKeys() {
  static const std::vector<FieldKey> keys = {
      {"name", {"$성명", "$이름", "$성"}},
      {"mobile", {"$전화번호"}},
      {"phone1", {"$전화번호"}},
      {"phone2", {"$전화번호"}},
      {"fax", {"$전화번호"}},
      {"address", {"$전체주소", "$시", "$구동", "$그외"}},
      {"title", {"$회사", "$직위"}},
      {"email", {"$이메일"}},
      {"info", {"$그는"}},
      {"homepage", {"$웹"}},
      {"group", {"이메일", "그룹아이디"}},
  };
  return keys;
}

// The snippet of GOOGLE_FIELD named by key in GOOGLE_INDEX ("first" or "first|count").
QStringList fieldSnippet(const QString& key) {
  const QStringList fields = ui::loadTextResource(QStringLiteral("GOOGLE_FIELD"));
  const auto index = keyValues(ui::loadTextResource(QStringLiteral("GOOGLE_INDEX")));
  const QStringList range = index.value(key).split(QLatin1Char('|'));
  bool okFirst = false, okCount = true;
  const int first = range.value(0).toInt(&okFirst);
  const int count = range.size() > 1 ? range[1].toInt(&okCount) : 1;
  EXPECT_TRUE(okFirst && okCount && count >= 1) << text(key);
  EXPECT_LE(first + count, fields.size()) << text(key);
  return fields.mid(first, count);
}

QString replaceFirst(QString s, const QString& what, const QString& with) {
  const qsizetype at = s.indexOf(what);
  return at < 0 ? s : s.replace(at, what.size(), with);
}

}  // namespace

TEST_F(Resources, ContactFieldSnippetsCarryTheirPlaceholders) {
  for (const FieldKey& k : contactFieldKeys()) {
    SCOPED_TRACE(k.key);
    QString snippet = fieldSnippet(QLatin1String(k.key)).join(QStringLiteral("\r\n"));
    ASSERT_FALSE(snippet.isEmpty());
    // Replacing each placeholder once, in order, leaves none behind.
    for (const QString& p : k.placeholders) {
      ASSERT_TRUE(snippet.contains(p)) << text(p);
      snippet = replaceFirst(snippet, p, QStringLiteral("값"));
    }
    EXPECT_FALSE(snippet.contains(QLatin1Char('$'))) << text(snippet);
  }
  // Company and position sit on the snippet's lines 1 and 2, which are dropped when empty.
  const QStringList title = fieldSnippet(QStringLiteral("title"));
  ASSERT_GE(title.size(), 3);
  EXPECT_TRUE(title[1].contains(QStringLiteral("$회사")));
  EXPECT_TRUE(title[2].contains(QStringLiteral("$직위")));
}

TEST_F(Resources, ContactBatchTemplatesMakeAWellFormedFeed) {
  const QStringList batch = ui::loadTextResource(QStringLiteral("GOOGLE_BATCH"));
  ASSERT_EQ(batch.size(), 1);
  auto entry = [](const char* name, const QString& target, const QString& id) {
    QString s = ui::loadTextResource(QLatin1String(name)).join(QStringLiteral("\r\n"));
    s = replaceFirst(s, QStringLiteral("타겟"), target);
    s = replaceFirst(s, QStringLiteral("이메일"), QStringLiteral("kim%40example.com"));
    s = replaceFirst(s, QStringLiteral("아이디"), id);
    return s;
  };
  for (const char* name : {"GOOGLE_EDIT", "GOOGLE_DEL"}) {
    const QString raw = ui::loadTextResource(QLatin1String(name)).join(QLatin1Char('\n'));
    for (const char* word : {"타겟", "이메일", "아이디"})
      EXPECT_EQ(raw.count(QString::fromUtf8(word)), 1) << name << " " << word;
  }
  QStringList contact;
  for (const FieldKey& k : contactFieldKeys()) {
    QString snippet = fieldSnippet(QLatin1String(k.key)).join(QStringLiteral("\r\n"));
    for (const QString& p : k.placeholders) snippet = replaceFirst(snippet, p, QStringLiteral("홍길동"));
    contact << snippet;
  }
  const QStringList document = {
      batch[0],
      entry("GOOGLE_ADD", QStringLiteral("groups"), QString()),
      QStringLiteral("      <title type=\"text\">가족</title>"),
      QStringLiteral("  </entry>"),
      entry("GOOGLE_EDIT", QStringLiteral("contacts"), QStringLiteral("4f2a")),
      contact.join(QStringLiteral("\r\n")),
      QStringLiteral("  </entry>"),
      entry("GOOGLE_DEL", QStringLiteral("contacts"), QStringLiteral("77b1")),
      QStringLiteral("</feed>"),
  };
  QXmlStreamReader xml(document.join(QStringLiteral("\r\n")));
  int entries = 0;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && xml.name() == QLatin1String("entry")) ++entries;
  }
  EXPECT_FALSE(xml.hasError()) << text(xml.errorString()) << " at line " << xml.lineNumber();
  EXPECT_EQ(entries, 3);
}

// Not a check: a sheet of every picture for people to look at.
TEST_F(Resources, WritesAContactSheet) {
  const QString folder = qEnvironmentVariable("DAYBOOK_SCREENSHOTS");
  if (folder.isEmpty()) GTEST_SKIP() << "DAYBOOK_SCREENSHOTS is not set";
  QDir().mkpath(folder);
  constexpr int kWidth = 1100, kLabel = 14, kGap = 10;
  struct Placed {
    QPoint at;
    QImage image;
    QString label;
  };
  std::vector<Placed> placed;
  int x = kGap, y = kGap, rowHeight = 0;
  for (const PictureCase& c : pictures()) {
    QImage image = ui::loadImage(QLatin1String(c.name), QLatin1String(c.type));
    if (image.width() <= 48) image = image.scaled(image.size() * 3, Qt::KeepAspectRatio, Qt::FastTransformation);
    const int cellWidth = qMax(image.width(), 130);
    if (x + cellWidth > kWidth) {
      x = kGap;
      y += rowHeight + kGap;
      rowHeight = 0;
    }
    placed.push_back({QPoint(x, y), image, QString::fromLatin1(c.name).mid(6)});
    x += cellWidth + kGap;
    rowHeight = qMax(rowHeight, image.height() + kLabel);
  }
  QImage sheet(kWidth, y + rowHeight + kGap, QImage::Format_ARGB32);
  sheet.fill(QColor(242, 242, 242));
  QPainter p(&sheet);
  QFont font = p.font();
  font.setPixelSize(10);
  p.setFont(font);
  for (const Placed& item : placed) {
    // Caption buttons are white on the caption bar; show them on it.
    if (item.label.startsWith(QLatin1String("MINIMIZE")) || item.label.startsWith(QLatin1String("MAXMIZE")) ||
        item.label.startsWith(QLatin1String("NORMAL")) || item.label.startsWith(QLatin1String("CLOSE")))
      p.fillRect(QRect(item.at, item.image.size()), QColor(88, 0, 176));
    p.drawImage(item.at, item.image);
    p.setPen(QColor(60, 60, 70));
    p.drawText(item.at.x(), item.at.y() + item.image.height() + kLabel - 3, item.label);
  }
  p.end();
  EXPECT_TRUE(sheet.save(QDir(folder).filePath(QStringLiteral("resources_contact_sheet.png"))));
}
