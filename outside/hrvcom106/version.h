#pragma once
// The version dialog: the program's name and the installed version (the
// installation writes it as HRV6/Version below the settings root; the
// caller reads it and passes it in), with the program's icon.

#include <QDialog>
#include <QIcon>
#include <QString>

class CVersion final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kIdIcon = 1000;
  static constexpr int kIdProgramName = 1001;
  static constexpr int kIdVersion = 1002;

  // programName: e.g. "Harvo V6 Plus for Windows"; version: e.g. "6.05.01".
  // Without an icon the application's window icon is shown, if it has one.
  CVersion(const QString& programName, const QString& version, const QIcon& icon = QIcon(),
           QWidget* parent = nullptr);
};
