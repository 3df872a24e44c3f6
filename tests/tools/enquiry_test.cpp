#include "tools/enquiry.h"

#include "store/information.h"
#include "store/schema.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/temp_data_folder.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

// The PDF's text, compared in NFKC with blanks collapsed (pdftotext gives
// gaps for blanks and Kangxi radicals for some ideographs).
QString pdfText(const QString& pdf) {
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  if (!text.waitForFinished(60000)) return {};
  QString page = QString::fromUtf8(text.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
  page.replace(QRegularExpression(QStringLiteral("[ \t]+")), QStringLiteral(" "));
  return page;
}

class EnquiryTest : public hv6test::InstalledRegistryTest {};

// The helpdesk program writes the form of the data the settings name:
// farm, versions, folder, system and the heading of the free lines.
TEST_F(EnquiryTest, HelpdeskWritesTheFormAsPdf) {
  install();
  hv6test::TempDataFolder data;
  hv6::InformationTexts texts;
  texts.company = QStringLiteral("山田農園");
  texts.president = QStringLiteral("山田太郎");
  ASSERT_EQ(hv6::writeInformation(data.diaryPath(), texts).outcome, hv6::InformationWrite::Written);
  setPaths(data.diaryPath(), data.weatherPath());
  ASSERT_EQ(store.createKey(registry.keyPath(QStringLiteral("HRV6"))), hv6::RegStatus::Ok);
  ASSERT_TRUE(registry.writeString(QStringLiteral("HRV6"), QStringLiteral("Version"), QStringLiteral("6.05.01")));

  const QString pdf = env.path(QStringLiteral("form.pdf"));
  QProcess helpdesk;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  helpdesk.setProcessEnvironment(environment);
  helpdesk.start(hv6test::binaryDir() + QStringLiteral("/outside/helpdesk/helpdesk"),
                 {QStringLiteral("--pdf"), pdf});
  ASSERT_TRUE(helpdesk.waitForFinished(60000));
  ASSERT_EQ(helpdesk.exitCode(), 0) << helpdesk.readAllStandardError().toStdString();
  const QString page = pdfText(pdf);
  for (const QString& expected :
       {QStringLiteral("お問い合わせ票"), QStringLiteral("山田農園"), QStringLiteral("6.05.01"),
        data.folder(), QSysInfo::kernelType(), QStringLiteral("お問い合わせ内容")})
    EXPECT_TRUE(page.contains(expected.normalized(QString::NormalizationForm_KC)))
        << qPrintable(expected) << "\n" << page.toStdString();
  // Both the program's and the data's version are 6.05.01 here.
  EXPECT_EQ(page.count(QStringLiteral("6.05.01")), 2) << page.toStdString();
}

// Unknown facts print as "不明"; a folder that cannot be written leaves no
// file and says why.
TEST_F(EnquiryTest, UnknownFactsAndAnUnwritablePlace) {
  hv6::EnquiryFacts facts = hv6::gatherEnquiryFacts(env.path(QStringLiteral("none/作業日誌データ.HV6")), {});
  EXPECT_TRUE(facts.farmName.isEmpty());
  EXPECT_FALSE(facts.system.isEmpty());
  const QString pdf = env.path(QStringLiteral("unknown.pdf"));
  ASSERT_TRUE(hv6::writeEnquiryPdf(pdf, facts));
  EXPECT_GE(pdfText(pdf).count(QStringLiteral("不明")), 3);

  QString error;
  const QString nowhere = env.path(QStringLiteral("no/such/folder/form.pdf"));
  EXPECT_FALSE(hv6::writeEnquiryPdf(nowhere, facts, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(nowhere));
}

}  // namespace
