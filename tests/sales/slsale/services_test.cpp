#include "outside/sl_common/childwininfo.h"
#include "outside/sl_common/gidmsg.h"
#include "outside/sl_errmsg/errmsg.h"
#include "outside/sl_help/help.h"
#include "outside/sl_lib/conv.h"
#include "outside/sl_lib/convymd.h"
#include "outside/sl_lib/gdi.h"
#include "outside/sl_nmsg/nmlmsg.h"
#include "tests/support/message_recorder.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

using hv6::MsgAnswer;
using hv6::MsgButtons;
using hv6::MsgIcon;

// The error numbers the sales windows show, by the window steps that show
// them.
const long kErrorNumbers[] = {400,   500,   503,   511,   516,   522,   523,  550,
                              569,   622,   835,   842,   920,   921,   964,  51002,
                              51003, 51004, 51005, 51019, 51032, 51037, 51038};
// The questions and notices.
const long kQuestionNumbers[] = {100, 5101, 5102, 5106, 5115, 5121, 5136};
const long kNoticeNumbers[] = {102, 5105};

TEST(SlErrMsg, EveryNumberHasATextOfItsOwn) {
  QSet<QString> seen;
  for (long number : kErrorNumbers) {
    EXPECT_TRUE(sl::CErrMsg::hasText(number)) << number;
    const QString text = sl::CErrMsg::text(number);
    EXPECT_FALSE(text.contains(QString::number(number))) << number << " shows the fallback";
    EXPECT_FALSE(text.contains(u'%')) << number;
    EXPECT_FALSE(seen.contains(text)) << number << " repeats another message";
    seen.insert(text);
  }
  EXPECT_FALSE(sl::CErrMsg::hasText(4711));
  EXPECT_TRUE(sl::CErrMsg::text(4711).contains(QStringLiteral("4711")));
}

TEST(SlErrMsg, BoxShowsTheStoreStatusUnlessZero) {
  hv6test::MessageRecorder recorder;
  QWidget parent;
  sl::CErrMsg errors;
  EXPECT_EQ(errors.Disp(3260, &parent, 500), 1);
  EXPECT_EQ(errors.Disp(0, nullptr, 400), 1);
  ASSERT_EQ(recorder.messages().size(), 2);
  const hv6::MessageRequest& first = recorder.messages().at(0);
  EXPECT_EQ(first.number, 500);
  EXPECT_EQ(first.kind, 1);
  EXPECT_EQ(first.icon, MsgIcon::Error);
  EXPECT_EQ(first.buttons, MsgButtons::Ok);
  EXPECT_EQ(first.parent, &parent);
  EXPECT_EQ(first.caption, QStringLiteral("Harvo V6 Plus for Windows"));
  EXPECT_TRUE(first.text.startsWith(sl::CErrMsg::text(500)));
  EXPECT_TRUE(first.text.contains(QStringLiteral("3260")));
  EXPECT_EQ(recorder.messages().at(1).text, sl::CErrMsg::text(400));
}

TEST(SlErrMsg, OwnTextIsAnErrorBoxWithoutNumber) {
  hv6test::MessageRecorder recorder;
  sl::CErrMsg errors;
  errors.DispText(QStringLiteral("共有メモリ確保失敗"), nullptr);
  ASSERT_EQ(recorder.messages().size(), 1);
  EXPECT_EQ(recorder.messages().first().number, 0);
  EXPECT_EQ(recorder.messages().first().text, QStringLiteral("共有メモリ確保失敗"));
  EXPECT_EQ(recorder.messages().first().icon, MsgIcon::Error);
}

TEST(SlNmlMsg, EveryNumberHasATextOfItsOwnAndItsKind) {
  QSet<QString> seen;
  for (long number : kQuestionNumbers) {
    EXPECT_TRUE(sl::CNmlMsg::hasText(number)) << number;
    EXPECT_TRUE(sl::CNmlMsg::isQuestion(number)) << number;
    seen.insert(sl::CNmlMsg::text(number));
  }
  for (long number : kNoticeNumbers) {
    EXPECT_TRUE(sl::CNmlMsg::hasText(number)) << number;
    EXPECT_FALSE(sl::CNmlMsg::isQuestion(number)) << number;
    seen.insert(sl::CNmlMsg::text(number));
  }
  EXPECT_EQ(seen.size(), std::size(kQuestionNumbers) + std::size(kNoticeNumbers));
  EXPECT_FALSE(sl::CNmlMsg::hasText(4711));
}

TEST(SlNmlMsg, QuestionsAnswerSixForYesAndSevenForNo) {
  hv6test::MessageRecorder recorder;
  sl::CNmlMsg messages;
  recorder.answer(MsgAnswer::Yes);
  recorder.answer(MsgAnswer::No);
  EXPECT_EQ(messages.Disp(nullptr, 5102), sl::kIdYes);
  EXPECT_EQ(messages.Disp(nullptr, 5102), sl::kIdNo);
  EXPECT_EQ(messages.Disp(nullptr, 102), sl::kIdOk);
  ASSERT_EQ(recorder.messages().size(), 3);
  EXPECT_EQ(recorder.messages().at(0).buttons, MsgButtons::YesNo);
  EXPECT_EQ(recorder.messages().at(0).icon, MsgIcon::Question);
  EXPECT_EQ(recorder.messages().at(2).buttons, MsgButtons::Ok);
  EXPECT_EQ(recorder.numbers(), (QList<long>{5102, 5102, 102}));
}

TEST(SlNmlMsg, PlacesAreFilledWithTheCallersTexts) {
  hv6test::MessageRecorder recorder;
  sl::CNmlMsg messages;
  messages.Disp(nullptr, 100, sl::kDeleteSlipSubject.arg(QStringLiteral("        00012"),
                                                          QStringLiteral("掛売")));
  ASSERT_EQ(recorder.messages().size(), 1);
  EXPECT_TRUE(recorder.messages().first().text.startsWith(
      QStringLiteral("伝票番号[        00012] の掛売伝票を削除します。")))
      << recorder.messages().first().text.toStdString();

  const QString line = sl::CNmlMsg::text(100, sl::kDeleteLinePairSubject.arg(3).arg(4));
  EXPECT_TRUE(line.startsWith(QStringLiteral("番号[3]と[4] の明細行の２行を削除"))) << line.toStdString();

  const QString price = sl::CNmlMsg::text(5121, QStringLiteral("7"), QStringLiteral("トマト"),
                                          QStringLiteral("1,200.00円"), QStringLiteral("1,500.00円"));
  for (const char16_t* part : {u"7", u"「トマト」", u"1,200.00円", u"1,500.00円"})
    EXPECT_TRUE(price.contains(QString::fromUtf16(part))) << price.toStdString();
  EXPECT_LT(price.indexOf(QStringLiteral("1,200.00円")), price.indexOf(QStringLiteral("1,500.00円")));
  EXPECT_FALSE(price.contains(u'%'));

  const QString dates = sl::CNmlMsg::text(5136, QStringLiteral("2026/11/30"), QStringLiteral("2026/12/05"));
  EXPECT_TRUE(dates.contains(QStringLiteral("2026/11/30")));
  EXPECT_TRUE(dates.contains(QStringLiteral("2026/12/05")));

  // A text holding a place marker goes in as it is, and a missing text
  // leaves its place empty.
  EXPECT_TRUE(sl::CNmlMsg::text(100, QStringLiteral("%2")).startsWith(QStringLiteral("%2を削除")));
  EXPECT_FALSE(sl::CNmlMsg::text(5136).contains(u'%'));
}

TEST(SlChildWinInfo, KeepsOneWindowAndItsFlagPerId) {
  sl::CChildWinInfo info;
  QWidget a;
  QWidget b;
  EXPECT_EQ(info.GetWindowClassPnt(50), nullptr);
  EXPECT_NE(info.SetWindowClassPnt(50, &a, 3), 0);
  EXPECT_NE(info.SetWindowClassPnt(52, &b, 0), 0);
  EXPECT_EQ(info.GetWindowClassPnt(50), &a);
  EXPECT_EQ(info.GetWindowClassPnt(52), &b);
  EXPECT_EQ(info.GetFlag(50), 3);
  EXPECT_NE(info.SetWindowClassPnt(50, nullptr, 0), 0);
  EXPECT_EQ(info.GetWindowClassPnt(50), nullptr);
  EXPECT_EQ(info.GetWindowClassPnt(52), &b);
  EXPECT_EQ(info.SetWindowClassPnt(-1, &a, 0), 0);
  EXPECT_EQ(info.GetWindowClassPnt(-1), nullptr);
}

TEST(SlGidMsg, HandsNumberAndTextToTheHostsHandler) {
  sl::CGidMsg guide;
  guide.Disp(12, QStringLiteral("no handler yet"));  // nothing to show it: no effect
  QList<std::pair<long, QString>> lines;
  guide.setHandler([&](long number, const QString& line) { lines.append({number, line}); });
  guide.Disp(12, QStringLiteral("得意先コードを入力してください"));
  guide.Disp(0);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_EQ(lines.at(0).first, 12);
  EXPECT_EQ(lines.at(0).second, QStringLiteral("得意先コードを入力してください"));
  EXPECT_TRUE(lines.at(1).second.isEmpty());
}

TEST(SlConv, NumbersWithAndWithoutSeparators) {
  EXPECT_EQ(sl::CConv::CommaStr(-1234567.5), QStringLiteral("-1,234,568"));
  EXPECT_EQ(sl::CConv::CommaStr(1234.5, 2), QStringLiteral("1,234.50"));
  EXPECT_EQ(sl::CConv::CommaStr(999), QStringLiteral("999"));
  EXPECT_EQ(sl::CConv::NotCommaStr(-1234567.5), QStringLiteral("-1234568"));
  EXPECT_EQ(sl::CConv::NotCommaStr(0.125, 2), QStringLiteral("0.13"));
  EXPECT_TRUE(sl::CConv::CommaStr(1e16).isEmpty());
}

TEST(SlConv, KanjiCopyNeverCutsADoubleByteCharacter) {
  QString out = QStringLiteral("old");
  EXPECT_EQ(sl::CConv::KanjiCopy(out, QStringLiteral("あいう"), 5), 4);
  EXPECT_EQ(out, QStringLiteral("あい"));
  EXPECT_EQ(sl::CConv::KanjiCopy(out, QStringLiteral("aｱあ"), 4), 4);
  EXPECT_EQ(out, QStringLiteral("aｱあ"));
  EXPECT_EQ(sl::CConv::KanjiCopy(out, QStringLiteral("abc"), 0), 0);
  EXPECT_TRUE(out.isEmpty());
}

TEST(SlConv, BlanksCodesAndPostCodes) {
  EXPECT_EQ(sl::CConv::DelAfterSpace(QStringLiteral(" 田中　 ")), QStringLiteral(" 田中"));
  EXPECT_EQ(sl::CConv::DelBeforeSpace(QStringLiteral("　 田中 ")), QStringLiteral("田中 "));
  EXPECT_EQ(sl::CConv::DelAfterSpace(QStringLiteral("　 ")), QString());
  EXPECT_EQ(sl::CConv::ConvPostCode(QStringLiteral("1234567")), QStringLiteral("123-4567"));
  EXPECT_EQ(sl::CConv::ConvPostCode(QStringLiteral(" １２３－４５６７ ")), QStringLiteral("123-4567"));
  EXPECT_EQ(sl::CConv::ConvPostCode(QStringLiteral("123-4567")), QStringLiteral("123-4567"));
  EXPECT_EQ(sl::CConv::ConvPostCode(QStringLiteral("12-34567")), QStringLiteral("12-34567"));
  EXPECT_EQ(sl::CConv::ConvPostCode(QStringLiteral("12345")), QStringLiteral("12345"));
  EXPECT_EQ(sl::CConv::ConvCodeString(QStringLiteral(" a9 ")), QStringLiteral("           A9"));
  EXPECT_EQ(sl::CConv::ConvCodeString(QStringLiteral("12"), 4), QStringLiteral("  12"));
  EXPECT_EQ(sl::CConv::ConvCodeString(QStringLiteral("12345"), 4), QStringLiteral("12345"));
}

TEST(SlConvYmd, DatesInTheCompanysStyles) {
  const QDate today = QDate::currentDate();
  EXPECT_EQ(sl::CConvYmd::GetNowDate(), today.year() * 10000L + today.month() * 100L + today.day());
  EXPECT_EQ(sl::CConvYmd::ConvSpDate(20190501, sl::kDateWestern), QStringLiteral("2019/05/01"));
  EXPECT_EQ(sl::CConvYmd::ConvSpDate(20190501, sl::kDateEra), QStringLiteral("R.01/05/01"));
  EXPECT_EQ(sl::CConvYmd::ConvSpDate(20190430, sl::kDateEra), QStringLiteral("H.31/04/30"));
  EXPECT_TRUE(sl::CConvYmd::ConvSpDate(0, sl::kDateWestern).isEmpty());
  EXPECT_TRUE(sl::CConvYmd::ConvSpDate(20190230, sl::kDateEra).isEmpty());

  long date = 1;
  EXPECT_EQ(sl::CConvYmd::ConvSeireki(QStringLiteral("2019/05/01"), sl::kDateWestern, date), 0);
  EXPECT_EQ(date, 20190501);
  EXPECT_EQ(sl::CConvYmd::ConvSeireki(QStringLiteral("20260229"), sl::kDateWestern, date), 1);
  EXPECT_EQ(date, 20190501);
  EXPECT_EQ(sl::CConvYmd::ConvSeireki(QStringLiteral("H.31/04/30"), sl::kDateEra, date), 0);
  EXPECT_EQ(date, 20190430);
  EXPECT_EQ(sl::CConvYmd::ConvSeireki(QStringLiteral("令和元年5月1日"), sl::kDateEra, date), 0);
  EXPECT_EQ(date, 20190501);
  EXPECT_NE(sl::CConvYmd::ConvSeireki(QStringLiteral("H.31/05/01"), sl::kDateEra, date), 0);

  long wareki = 0;
  EXPECT_EQ(sl::CConvYmd::ConvWareki(20190501, wareki), 0);
  EXPECT_EQ(wareki, 5010501);
  EXPECT_EQ(sl::CConvYmd::ConvSeireki(4310430L, date), 0);
  EXPECT_EQ(date, 20190430);
}

// Whether any pixel of the image inside (or outside) the rectangle differs
// from white.
bool paintedInside(const QImage& image, const QRect& rect, bool inside) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (rect.contains(x, y) == inside && image.pixel(x, y) != qRgb(255, 255, 255)) return true;
  return false;
}

TEST(SlGdi, TextIsDrawnInsideItsRectangleOnly) {
  sl::CGdi gdi;
  QFont font;
  font.setPixelSize(14);
  gdi.SetFont(font);
  EXPECT_EQ(gdi.font().pixelSize(), 14);

  QImage image(200, 60, QImage::Format_RGB32);
  image.fill(Qt::white);
  const QRect box(10, 10, 40, 20);
  {
    QPainter painter(&image);
    gdi.DispRectString(painter, box, QStringLiteral("とても長い得意先名が入ります"));
  }
  EXPECT_TRUE(paintedInside(image, box, true));
  EXPECT_FALSE(paintedInside(image, box, false));

  image.fill(Qt::white);
  {
    QPainter painter(&image);
    gdi.DispRectFrameString(painter, box, QString());
  }
  EXPECT_NE(image.pixel(box.topLeft()), qRgb(255, 255, 255));  // the frame
  EXPECT_EQ(image.pixel(box.center()), qRgb(255, 255, 255));   // nothing inside

  image.fill(Qt::white);
  {
    QPainter painter(&image);
    gdi.DispTitle(painter, box, QStringLiteral("合計"));
  }
  EXPECT_EQ(image.pixel(box.left() + 2, box.bottom() - 2), qRgb(0xc0, 0xc0, 0xc0));  // the panel
  EXPECT_FALSE(paintedInside(image, box, false));

  image.fill(Qt::white);
  {
    QPainter painter(&image);
    gdi.DispString3D(painter, 100, 20, QStringLiteral("売上"));
  }
  EXPECT_TRUE(paintedInside(image, QRect(99, 19, 60, 30), true));
}

TEST(SlHelp, ShowsTheSelectedTopicOrTheIndex) {
  QTemporaryDir dir;
  const QString book = dir.filePath(QStringLiteral("hv6-sales.chm"));
  ASSERT_TRUE(QDir().mkpath(book));
  for (const char* page : {"30147.html", "99999.html"}) {
    QFile file(QDir(book).filePath(QString::fromLatin1(page)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  sl::CHelp help(book);
  QList<QUrl> opened;
  help.setOpener([&](const QUrl& url) {
    opened.append(url);
    return true;
  });
  help.SelectHelp(30147);
  EXPECT_EQ(help.selectedTopic(), 30147);
  EXPECT_TRUE(help.HelpDisp());
  help.SelectHelp(30149);  // no page of its own
  EXPECT_TRUE(help.HelpDisp());
  ASSERT_EQ(opened.size(), 2);
  EXPECT_EQ(opened.at(0).toLocalFile(), QDir(book).filePath(QStringLiteral("30147.html")));
  EXPECT_EQ(opened.at(1).toLocalFile(), QDir(book).filePath(QStringLiteral("99999.html")));
}

TEST(SlHelp, MissingHelpIsReportedInABox) {
  hv6test::MessageRecorder recorder;
  QTemporaryDir dir;
  sl::CHelp help(dir.filePath(QStringLiteral("none.chm")));
  bool opened = false;
  help.setOpener([&](const QUrl&) { return opened = true; });
  help.SelectHelp(30147);
  EXPECT_FALSE(help.HelpDisp());
  EXPECT_FALSE(opened);
  ASSERT_EQ(recorder.messages().size(), 1);
  EXPECT_TRUE(recorder.messages().first().text.contains(dir.filePath(QStringLiteral("none.chm"))));
}

}  // namespace
