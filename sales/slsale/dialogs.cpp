// The module's dialogs by class name: the template's title and id. Their
// controls are not part of this shell yet.
#include "sales/slsale/slsale.h"

namespace {

void setTemplate(QDialog* dialog, int templateId, const QString& title) {
  dialog->setObjectName(QString::number(templateId));
  dialog->setWindowTitle(title);
}

}  // namespace

#define SLSALE_DEFINE_DIALOG(Name, templateId, title)                     \
  Name::Name(QWidget* parent) : QDialog(parent) {                         \
    setTemplate(this, templateId, QStringLiteral(title));                 \
  }                                                                       \
  Name::~Name() = default;

SLSALE_DEFINE_DIALOG(CE35Dlg, 504, "印刷条件設定")
SLSALE_DEFINE_DIALOG(CE37Dlg, 510, "売上伝票印刷設定")
SLSALE_DEFINE_DIALOG(CE38Dlg, 511, "払込取扱票の設定")
// CE41dlg and CE51Dlg: reportwindow.cpp and shippingwindow.cpp.
