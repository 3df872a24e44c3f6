// helpdesk: prints the enquiry form for the maker's customer service, or
// saves it as PDF. "helpdesk --pdf FILE" writes the PDF without a window.
#include "platform/file_chooser.h"
#include "platform/folders.h"
#include "platform/registry.h"
#include "platform/ui/file_dialogs.h"
#include "shell/appregistry.h"
#include "shell/startup.h"
#include "tools/enquiry.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>

namespace {

hv6::EnquiryFacts readFacts() {
  hv6::RegistryStore store;
  const hv6::AppRegistry registry(store);
  QString diary;
  QString version;
  registry.readString(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kDataPath, diary);
  registry.readString(QStringLiteral("HRV6"), QStringLiteral("Version"), version);
  return hv6::gatherEnquiryFacts(diary, version);
}

class EnquiryWindow final : public QDialog {
 public:
  explicit EnquiryWindow(hv6::EnquiryFacts facts) : facts_(std::move(facts)) {
    setObjectName(QStringLiteral("Helpdesk"));
    setWindowTitle(QStringLiteral("サポート問い合わせ"));
    resize(560, 380);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("次の内容の問い合わせ票を印刷します。お問い合わせ内容は印刷した用紙にご記入ください。"), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* preview = new QPlainTextEdit(hv6::enquiryFormText(facts_), this);
    preview->setObjectName(QStringLiteral("preview"));
    preview->setReadOnly(true);
    layout->addWidget(preview, 1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* print = buttons->addButton(QStringLiteral("印刷..."), QDialogButtonBox::ActionRole);
    print->setObjectName(QStringLiteral("print"));
    QPushButton* pdf = buttons->addButton(QStringLiteral("PDFに保存..."), QDialogButtonBox::ActionRole);
    pdf->setObjectName(QStringLiteral("pdf"));
    QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("2"));
    connect(print, &QPushButton::clicked, this, [this] { printForm(); });
    connect(pdf, &QPushButton::clicked, this, [this] { saveForm(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
  }

 private:
  void printForm() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!hv6::paintEnquiryForm(printer, facts_))
      QMessageBox::warning(this, windowTitle(), QStringLiteral("印刷できませんでした。"));
  }
  void saveForm() {
    const QString path = hv6::fileChooser().chooseFileToSave(
        {QStringLiteral("問い合わせ票の保存"),
         QDir(hv6::specialFolder(hv6::kFolderDocuments)).filePath(QStringLiteral("Harvo問い合わせ票.pdf")),
         QStringLiteral("PDF (*.pdf)"), this, {}, {}});
    if (path.isEmpty()) return;
    QString error;
    if (!hv6::writeEnquiryPdf(path, facts_, &error)) QMessageBox::warning(this, windowTitle(), error);
  }

  hv6::EnquiryFacts facts_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("helpdesk"));
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Harvo V6 Plus お問い合わせ票"));
  parser.addHelpOption();
  const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("writes the form to FILE without a window"),
                               QStringLiteral("FILE"));
  parser.addOption(pdf);
  parser.process(app);

  const hv6::EnquiryFacts facts = readFacts();
  if (parser.isSet(pdf)) {
    QString error;
    if (!hv6::writeEnquiryPdf(parser.value(pdf), facts, &error)) {
      std::fprintf(stderr, "%s\n", error.toUtf8().constData());
      return 1;
    }
    return 0;
  }
  hv6::QtFileChooser chooser;
  hv6::setFileChooser(&chooser);
  EnquiryWindow window(facts);
  window.exec();
  hv6::setFileChooser(nullptr);
  return 0;
}
