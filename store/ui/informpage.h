#pragma once
// The data-information page (dialog 130) of the base-information sheet:
// the farm's identity from the Information row, the data folder with the
// button that switches to another one, and the last backup date.

#include "store/information.h"

#include <QString>
#include <QWidget>

class CCheckV5App;
class QLabel;
class QLineEdit;

namespace hv6 {
class FolderLabel;
}

class CInform : public QWidget {
  Q_OBJECT

 public:
  // Control ids of dialog 130.
  enum : int {
    kIdCompany = 1003,
    kIdPresident = 1004,
    kIdTelNo = 1005,
    kIdFaxNo = 1006,
    kIdGroupName = 1007,
    kIdFolder = 1009,
    kIdLastBackup = 1010,
    kIdBrowse = 1011,
    kIdGroupNameLabel = 1043,
  };

  // mode is the sheet's mode value; with 1 a folder whose diary database is
  // of this edition needs the weather database as well.
  CInform(CCheckV5App& check, int mode, QWidget* parent = nullptr);

  // Shows the data folder of dataPath and its Information row (read here).
  // False when the row cannot be read: the edits stay empty.
  bool load(const QString& dataPath, const QString& weatherPath);
  QString diaryPath() const { return diaryPath_; }
  QString weatherPath() const { return weatherPath_; }
  // The five edit texts (the other members stay empty).
  hv6::InformationTexts texts() const;

  // Message 1507 and the focus on edit 1004 when President is empty or
  // blank; false then.
  bool checkPresident();
  // Writes Information at diaryPath(); false on failure, after saying why.
  bool writeInformation();

 Q_SIGNALS:
  void pathsChanged(const QString& diaryPath, const QString& weatherPath);

 private:
  QLineEdit* addEdit(int id);
  QWidget* createIdentityBox();
  QWidget* createFolderBox();
  void showRow(const hv6::InformationRow& row);
  bool mayChangeFolder();
  QString chooseFolder();
  void OnBrowse();
  void refusePresident();

  CCheckV5App& check_;
  int mode_;
  QString diaryPath_;
  QString weatherPath_;
  QString currentFolder_;
  QLineEdit* company_ = nullptr;
  QLineEdit* president_ = nullptr;
  QLineEdit* telNo_ = nullptr;
  QLineEdit* faxNo_ = nullptr;
  QLineEdit* groupName_ = nullptr;
  QLabel* groupNameLabel_ = nullptr;
  hv6::FolderLabel* folder_ = nullptr;
  QLabel* lastBackup_ = nullptr;
};
