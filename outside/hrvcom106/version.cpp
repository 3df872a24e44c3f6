#include "outside/hrvcom106/version.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kIconSize = 48;
constexpr int kMargin = 16;

QLabel* label(const QString& text, int id, QWidget* parent) {
  auto* result = new QLabel(text, parent);
  result->setObjectName(QString::number(id));
  return result;
}

}  // namespace

CVersion::CVersion(const QString& programName, const QString& version, const QIcon& icon,
                   QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("バージョン情報"));
  const QIcon shown = icon.isNull() ? QApplication::windowIcon() : icon;

  auto* iconLabel = label(QString(), kIdIcon, this);
  if (!shown.isNull()) iconLabel->setPixmap(shown.pixmap(kIconSize, kIconSize));
  iconLabel->setVisible(!shown.isNull());
  auto* nameLabel = label(programName, kIdProgramName, this);
  QFont nameFont = nameLabel->font();
  nameFont.setBold(true);
  nameLabel->setFont(nameFont);
  auto* versionLabel = label(QStringLiteral("バージョン ") + version, kIdVersion, this);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QGridLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->setHorizontalSpacing(kMargin);
  layout->addWidget(iconLabel, 0, 0, 2, 1, Qt::AlignTop);
  layout->addWidget(nameLabel, 0, 1);
  layout->addWidget(versionLabel, 1, 1);
  layout->addWidget(buttons, 2, 0, 1, 2);
}
