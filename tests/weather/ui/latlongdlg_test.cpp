// Dialog 145, driven through its controls: the start, the end check, the
// edits with their up-down controls, and every check of OK.
#include "tests/weather/ui/dialog_fixture.h"

#include "outside/vqbase106/ui/calendarbox.h"
#include "outside/vqbase106/vqdate.h"
#include "weather/ui/latlongdlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>

namespace {

using hv6::PointValues;
using hv6test::click;
using hv6test::control;
using hv6test::typeInto;

class LatLongDlgTest : public hv6test::FieldLocationTest {
 protected:
  PointValues stored{0, 2, 35, 41, 22, 139, 41, 30, 20200401, 0};

  void SetUp() override { stored.code = addPoint(2, 35, 139, 20200401); }

  static QString text(const QWidget* dialog, int id) { return control<QLineEdit>(dialog, id)->text(); }
  static CCalendarBox* box(const QWidget* dialog, int id) { return control<CCalendarBox>(dialog, id); }
  // Coordinates typed into the six edits.
  static void typeAll(const QWidget* dialog, const QStringList& parts) {
    const int ids[] = {1040, 1041, 1053, 1042, 1043, 1054};
    for (int i = 0; i < 6; ++i) typeInto(dialog, ids[i], parts.at(i));
  }
  // OK; true when the dialog closed.
  static bool ok(CLatLongDlg& dialog) {
    dialog.show();
    click(&dialog, 1);
    return !dialog.isVisible();
  }
};

TEST_F(LatLongDlgTest, AStoredPointFillsTheControlsAndTheEndCheckEnablesTheEndDate) {
  CLatLongDlg dialog(data.weather(), stored);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("緯度経度の設定"));
  const QStringList shown{text(&dialog, 1040), text(&dialog, 1041), text(&dialog, 1053),
                          text(&dialog, 1042), text(&dialog, 1043), text(&dialog, 1054)};
  EXPECT_EQ(shown, (QStringList{"35", "41", "22", "139", "41", "30"}));
  const std::pair<int, int> spins[] = {{1044, 90}, {1045, 59}, {1047, 59},
                                       {1046, 180}, {1048, 59}, {1052, 59}};
  for (auto [id, high] : spins) {
    auto* spin = control<CSpinButtonCtrl>(&dialog, id);
    EXPECT_EQ(spin->lower(), 0) << id;
    EXPECT_EQ(spin->upper(), high) << id;
  }
  EXPECT_EQ(control<CSpinButtonCtrl>(&dialog, 1046)->GetPos(), 139);
  EXPECT_EQ(box(&dialog, 2000)->date(), 20200401);
  EXPECT_EQ(box(&dialog, 2000)->callID(), 2000);
  EXPECT_TRUE(box(&dialog, 2000)->findChild<QSpinBox*>(QStringLiteral("year"))->isVisibleTo(&dialog));
  EXPECT_EQ(control<QLabel>(&dialog, 1049)->text(), QStringLiteral("観測の開始日(&S)"));
  auto* check = control<QCheckBox>(&dialog, 1005);
  EXPECT_EQ(check->text(), QStringLiteral("観測を終わらせる。(&O)"));
  EXPECT_TRUE(check->isEnabled());
  EXPECT_FALSE(check->isChecked());
  EXPECT_FALSE(control<QLabel>(&dialog, 1051)->isEnabled());
  EXPECT_FALSE(box(&dialog, 2001)->isEnabled());
  check->click();
  EXPECT_TRUE(control<QLabel>(&dialog, 1051)->isEnabled());
  EXPECT_TRUE(box(&dialog, 2001)->isEnabled());
  check->click();
  EXPECT_FALSE(box(&dialog, 2001)->isEnabled());
}

TEST_F(LatLongDlgTest, ANewPointStartsTodayWithoutAnEnd) {
  CLatLongDlg dialog(data.weather(), PointValues{});
  long today = 0;
  CVqdate::GetDate(today);
  EXPECT_EQ(box(&dialog, 2000)->date(), today);
  EXPECT_FALSE(control<QCheckBox>(&dialog, 1005)->isEnabled());
  EXPECT_FALSE(box(&dialog, 2001)->isEnabled());
  EXPECT_EQ(text(&dialog, 1040), QStringLiteral("0"));
}

TEST_F(LatLongDlgTest, LeavingAnEditTakesANumberAndPutsBackAnythingElse) {
  CLatLongDlg dialog(data.weather(), stored);
  auto* spin = control<CSpinButtonCtrl>(&dialog, 1044);
  typeInto(&dialog, 1040, QStringLiteral("北緯"));
  EXPECT_EQ(text(&dialog, 1040), QStringLiteral("35"));
  typeInto(&dialog, 1040, QStringLiteral("４３"));  // full-width digits read as a number
  EXPECT_EQ(spin->GetPos(), 43);
  spin->step(1);
  EXPECT_EQ(text(&dialog, 1040), QStringLiteral("44"));
  // A number out of range stays as typed; the spin stops at its end.
  typeInto(&dialog, 1040, QStringLiteral("95"));
  EXPECT_EQ(text(&dialog, 1040), QStringLiteral("95"));
  EXPECT_EQ(spin->GetPos(), 90);
  spin->step(1);
  EXPECT_EQ(text(&dialog, 1040), QStringLiteral("90"));
  spin->step(-91);
  EXPECT_EQ(text(&dialog, 1040), QStringLiteral("0"));
}

TEST_F(LatLongDlgTest, OkRefusesEachFaultWithItsMessageAndKeepsTheDialogOpen) {
  struct Case {
    QStringList parts;
    long message;
  };
  const Case cases[] = {
      {{"95", "0", "0", "139", "0", "0"}, 2233},  {{"-1", "0", "0", "139", "0", "0"}, 2233},
      {{"90", "0", "1", "139", "0", "0"}, 2238},  {{"90", "1", "0", "139", "0", "0"}, 2234},
      {{"35", "60", "0", "139", "0", "0"}, 2234}, {{"35", "0", "60", "139", "0", "0"}, 2238},
      {{"35", "0", "0", "181", "0", "0"}, 2235},  {{"35", "0", "0", "180", "1", "0"}, 2236},
      {{"35", "0", "0", "180", "0", "1"}, 2239},  {{"35", "0", "0", "139", "0", "75"}, 2239},
  };
  for (const Case& c : cases) {
    messages.clear();
    CLatLongDlg dialog(data.weather(), stored);
    typeAll(&dialog, c.parts);
    EXPECT_FALSE(ok(dialog)) << c.parts.join(u' ').toStdString();
    EXPECT_EQ(messages.numbers(), QList<long>{c.message}) << c.parts.join(u' ').toStdString();
    if (!messages.empty()) {
      EXPECT_EQ(messages.messages().first().kind, 1);
    }
  }
  // Text typed and left reads as the spin's position.
  messages.clear();
  CLatLongDlg dialog(data.weather(), stored);
  typeAll(&dialog, {"zero", "0", "0", "0", "0", "0"});
  ASSERT_TRUE(ok(dialog));
  EXPECT_EQ(dialog.values().latDegrees, 35);
  EXPECT_TRUE(messages.empty());
}

TEST_F(LatLongDlgTest, ZeroAndTheLimitsAreAcceptedAndTheEndMayBeTheStart) {
  CLatLongDlg zero(data.weather(), stored);
  typeAll(&zero, {"0", "0", "0", "0", "0", "0"});
  ASSERT_TRUE(ok(zero));
  EXPECT_EQ(zero.values(), (PointValues{stored.code, 2, 0, 0, 0, 0, 0, 0, 20200401, 0}));

  CLatLongDlg limits(data.weather(), stored);
  typeAll(&limits, {"90", "0", "0", "180", "0", "0"});
  box(&limits, 2000)->SetDate(2021, 3, 31);
  control<QCheckBox>(&limits, 1005)->click();
  box(&limits, 2001)->SetDate(2021, 3, 31);
  ASSERT_TRUE(ok(limits));
  EXPECT_EQ(limits.values(), (PointValues{stored.code, 2, 90, 0, 0, 180, 0, 0, 20210331, 20210331}));
  EXPECT_TRUE(messages.empty());
}

TEST_F(LatLongDlgTest, AnEndBeforeTheStartIsRefusedAndAnUncheckedEndIsNone) {
  CLatLongDlg dialog(data.weather(), stored);
  control<QCheckBox>(&dialog, 1005)->click();
  // The user picks 2020-03-31 in the end box, a day before the start.
  box(&dialog, 2001)->SetDate(2020, 4, 1);
  box(&dialog, 2001)->findChild<QSpinBox*>(QStringLiteral("month"))->setValue(3);
  box(&dialog, 2001)->findChild<QSpinBox*>(QStringLiteral("day"))->setValue(31);
  ASSERT_EQ(box(&dialog, 2001)->date(), 20200331);
  EXPECT_FALSE(ok(dialog));
  EXPECT_EQ(messages.numbers(), QList<long>{2613});
  control<QCheckBox>(&dialog, 1005)->click();  // the end date no longer counts
  EXPECT_TRUE(ok(dialog));
  EXPECT_EQ(dialog.values().endDate, 0);
}

TEST_F(LatLongDlgTest, APlaceAnotherPointObservesIsRefusedAndANewPointGetsANumber) {
  addPoint(1, 40, 140, 20100401);
  CLatLongDlg taken(data.weather(), PointValues{});
  typeAll(&taken, {"40", "0", "0", "140", "0", "0"});
  EXPECT_FALSE(ok(taken));
  EXPECT_EQ(messages.numbers(), QList<long>{2237});
  typeInto(&taken, 1053, QStringLiteral("1"));
  ASSERT_TRUE(ok(taken));
  EXPECT_EQ(taken.values().num, 3);  // 1 and 2 are observed
  EXPECT_EQ(taken.values().code, 0);
}

TEST_F(LatLongDlgTest, HelpShowsContext10017) {
  CLatLongDlg dialog(data.weather(), stored);
  QList<int> topics;
  dialog.setHelpHandler([&](int topic) { topics << topic; });
  click(&dialog, 57670);
  EXPECT_EQ(topics, QList<int>{10017});
}

}  // namespace
