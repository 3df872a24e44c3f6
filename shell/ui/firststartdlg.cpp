#include "shell/ui/firststartdlg.h"

#include "platform/presenter.h"
#include "shell/startup.h"
#include "tools/datatools_abi.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Choice = hv6::FirstStartChoice;

constexpr int kMinimumWidth = 520;

}  // namespace

CFirstStartDlg::CFirstStartDlg(hv6::AppRegistry& registry, Actions actions, QWidget* parent)
    : QDialog(parent), choice_(registry), actions_(std::move(actions)) {
  setObjectName(QStringLiteral("142"));
  setWindowTitle(hv6::kAppTitle);
  setMinimumWidth(kMinimumWidth);
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(8);

  connect(addButton(Choice::kIdNewData, QStringLiteral("新規に作成する。")), &QPushButton::clicked,
          this, [this] { OnNewData(HV6_NEWDATA_FIRSTSTART); });
  connect(addButton(Choice::kIdConvert, QStringLiteral("HarvoV3、V5/V5プラスからコンバートする。")),
          &QPushButton::clicked, this, [this] { OnNewData(HV6_NEWDATA_CONVERT); });
  connect(addButton(Choice::kIdDemoData, QStringLiteral("デモデータを見る。")), &QPushButton::clicked,
          this, &CFirstStartDlg::OnDemoData);
  connect(addButton(Choice::kIdDataFolder, QStringLiteral("データフォルダを指定する。")),
          &QPushButton::clicked, this, &CFirstStartDlg::OnDataFolder);

  auto* note = new QLabel(Choice::noteText(), this);
  note->setObjectName(QStringLiteral("note"));
  note->setTextFormat(Qt::PlainText);
  note->setWordWrap(true);
  layout->addSpacing(8);
  layout->addWidget(note);
  layout->addSpacing(8);

  QPushButton* exit = addButton(Choice::kIdExit, QStringLiteral("終了する。"));
  connect(exit, &QPushButton::clicked, this, [this] { done(Choice::kIdExit); });
}

QPushButton* CFirstStartDlg::addButton(int id, const QString& text) {
  auto* button = new QPushButton(text, this);
  button->setObjectName(QString::number(id));
  button->setAutoDefault(false);
  layout()->addWidget(button);
  return button;
}

void CFirstStartDlg::reject() { done(Choice::kIdCancel); }

void CFirstStartDlg::OnDemoData() {
  if (choice_.useDemoData()) done(Choice::kResultDataChosen);
}

void CFirstStartDlg::OnNewData(int mode) {
  if (actions_.newData && actions_.newData(mode)) done(Choice::kResultDataChosen);
}

void CFirstStartDlg::OnDataFolder() {
  if (!actions_.chooseDataFolder) return;
  const std::optional<QString> diaryPath = actions_.chooseDataFolder();
  if (diaryPath && choice_.dataFolderChosen(*diaryPath)) done(Choice::kResultDataChosen);
}
