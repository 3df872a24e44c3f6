#pragma once
// Conversion of a diary database of an older edition to the current one.

#include <QString>

class QWidget;

class CV6XDataConv {
 public:
  // Brings the diary database at diaryPath up to the current schema and
  // data version, in one transaction, after a dated copy of the file beside
  // it. A current database is not written to at all. True when the file is
  // current afterwards. Without parent (the start-up) a failure is silent;
  // with one it is shown with CErrMsg::DispDaoErr. A failure leaves the file
  // as it was.
  bool ConvV6toV6X(const QString& diaryPath, QWidget* parent = nullptr);
};
