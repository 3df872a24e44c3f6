#include "store/ui/informpage.h"

#include "outside/errtext6/errmsg.h"
#include "outside/hrvcom106/checkv5app.h"
#include "outside/vqbase106/vqstring.h"
#include "platform/dao/exception.h"
#include "platform/file_chooser.h"
#include "store/datafolder.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace hv6 {

// The data folder in one line, cut with "..." to the label's width.
class FolderLabel final : public QLabel {
 public:
  explicit FolderLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  }

  void setFolder(const QString& folder) {
    folder_ = folder;
    setToolTip(folder);
    refit();
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QLabel::resizeEvent(event);
    refit();
  }

 private:
  void refit() {
    const QFontMetrics metrics = fontMetrics();
    const auto width = [&metrics](const QString& text) { return metrics.horizontalAdvance(text); };
    setText(fitWithEllipsis(folder_, contentsRect().width(), width));
  }

  QString folder_;
};

}  // namespace hv6

namespace {

constexpr long kMsgProgramsRunning = 1003;
constexpr long kMsgPresidentMissing = 1507;
constexpr long kMsgDiskFull = 2160;
const QString kBrowseTitle = QStringLiteral("Harvoのデータがあるフォルダを指定してください。");

class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

QLabel* buddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

void showDaoError(long daoError) {
  if (daoError == kJetDiskFull)
    CErrMsg().Disp(kMsgDiskFull, 1);
  else
    CErrMsg().DispDaoErr(daoError);
}

}  // namespace

CInform::CInform(CCheckV5App& check, int mode, QWidget* parent)
    : QWidget(parent), check_(check), mode_(mode) {
  setObjectName(QStringLiteral("130"));
  setWindowTitle(QStringLiteral("データインフォメーション"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(createIdentityBox());
  layout->addWidget(createFolderBox());
  layout->addStretch(1);
}

QLineEdit* CInform::addEdit(int id) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString::number(id));
  return edit;
}

QWidget* CInform::createIdentityBox() {
  auto* box = new QWidget(this);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  company_ = addEdit(kIdCompany);
  president_ = addEdit(kIdPresident);
  telNo_ = addEdit(kIdTelNo);
  faxNo_ = addEdit(kIdFaxNo);
  groupName_ = addEdit(kIdGroupName);
  groupNameLabel_ = buddyLabel(QStringLiteral("所属団体名(&S)"), groupName_, this);
  groupNameLabel_->setObjectName(QString::number(kIdGroupNameLabel));
  const std::pair<QLabel*, QLineEdit*> rows[] = {
      {buddyLabel(QStringLiteral("事業所名(&J)"), company_, this), company_},
      {buddyLabel(QStringLiteral("代表者名(&N)"), president_, this), president_},
      {buddyLabel(QStringLiteral("TEL(&T)"), telNo_, this), telNo_},
      {buddyLabel(QStringLiteral("FAX(&F)"), faxNo_, this), faxNo_},
      {groupNameLabel_, groupName_},
  };
  int row = 0;
  for (const auto& [label, edit] : rows) {
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row++, 1);
  }
  return box;
}

QWidget* CInform::createFolderBox() {
  auto* box = new QGroupBox(QStringLiteral("データ選択"), this);
  auto* grid = new QGridLayout(box);
  folder_ = new hv6::FolderLabel(box);
  folder_->setObjectName(QString::number(kIdFolder));
  folder_->setFrameShape(QFrame::StyledPanel);
  folder_->setFrameShadow(QFrame::Sunken);
  auto* browse = new QPushButton(QStringLiteral("参照(&D)..."), box);
  browse->setObjectName(QString::number(kIdBrowse));
  browse->setAutoDefault(false);
  connect(browse, &QPushButton::clicked, this, &CInform::OnBrowse);
  lastBackup_ = new QLabel(box);
  lastBackup_->setObjectName(QString::number(kIdLastBackup));
  lastBackup_->setTextFormat(Qt::PlainText);
  grid->addWidget(folder_, 0, 0, 1, 2);
  grid->addWidget(browse, 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("最終バックアップ日"), box), 1, 0);
  grid->addWidget(lastBackup_, 1, 1, 1, 2);
  grid->setColumnStretch(1, 1);
  return box;
}

bool CInform::load(const QString& dataPath, const QString& weatherPath) {
  diaryPath_ = dataPath;
  weatherPath_ = weatherPath;
  currentFolder_ = hv6::dataFolderOf(dataPath);
  folder_->setFolder(currentFolder_);
  const hv6::InformationRead read = hv6::readInformation(dataPath);
  showRow(read.row);
  return read.ok();
}

void CInform::showRow(const hv6::InformationRow& row) {
  company_->setText(row.texts.company);
  president_->setText(row.texts.president);
  telNo_->setText(row.texts.telNo);
  faxNo_->setText(row.texts.faxNo);
  groupName_->setText(row.texts.groupName);
  groupName_->setEnabled(row.groupNameAvailable);
  groupNameLabel_->setEnabled(row.groupNameAvailable);
  lastBackup_->setText(hv6::backupDateText(row.lastBackup));
}

hv6::InformationTexts CInform::texts() const {
  hv6::InformationTexts texts;
  texts.company = company_->text();
  texts.president = president_->text();
  texts.telNo = telNo_->text();
  texts.faxNo = faxNo_->text();
  texts.groupName = groupName_->text();
  return texts;
}

void CInform::refusePresident() {
  CErrMsg().Disp(kMsgPresidentMissing, 1);
  president_->setFocus();
}

bool CInform::checkPresident() {
  if (!CVqstring::IsSpace(president_->text(), 0)) return true;
  refusePresident();
  return false;
}

bool CInform::writeInformation() {
  const hv6::InformationWriteResult result = hv6::writeInformation(diaryPath_, texts());
  switch (result.outcome) {
    case hv6::InformationWrite::Written: return true;
    case hv6::InformationWrite::PresidentMissing: refusePresident(); break;
    case hv6::InformationWrite::Failed: showDaoError(result.daoError); break;
  }
  return false;
}

// The folder may change only while no related program runs: otherwise
// message 1003 lists them, one per line. A failed check ends silently.
bool CInform::mayChangeFolder() {
  int count = 0;
  if (!check_.CheckHv6Process(count)) return false;
  if (count <= 0) return true;
  QString list;
  for (int i = 0; i < count; ++i) {
    QString name;
    check_.GetExecMessageString(i, name);
    list += QStringLiteral("\r\n    %1").arg(name);
  }
  CErrMsg().Disp(kMsgProgramsRunning, 1, list);
  return false;
}

QString CInform::chooseFolder() {
  hv6::FileChoice choice;
  choice.title = kBrowseTitle;
  choice.startFolder = currentFolder_;
  choice.parent = this;
  const QString current = currentFolder_;
  const int mode = mode_;
  choice.rateFolder = [current, mode](const QString& folder) {
    return hv6::rateDataFolder(folder, current, mode);
  };
  return hv6::fileChooser().chooseFolder(choice);
}

void CInform::OnBrowse() {
  if (!mayChangeFolder()) return;
  const QString folder = chooseFolder();
  if (folder.isEmpty()) return;
  const QString diary = hv6::diaryPathIn(folder);
  const QString weather = hv6::weatherPathIn(folder);
  hv6::InformationRead read;
  {
    WaitCursor wait;
    read = hv6::readInformation(diary);
  }
  if (!read.ok()) {
    CErrMsg().DispDaoErr(read.daoError);
    return;
  }
  diaryPath_ = diary;
  weatherPath_ = weather;
  currentFolder_ = hv6::dataFolderOf(diary);
  folder_->setFolder(currentFolder_);
  showRow(read.row);
  Q_EMIT pathsChanged(diaryPath_, weatherPath_);
}
