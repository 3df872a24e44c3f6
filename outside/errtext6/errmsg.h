#pragma once
// Numbered message boxes. The texts belong to this library; callers pass a
// number, a kind and the program's caption.

#include <QString>

class QWidget;

// The caption every box of the program carries.
inline const QString kHrvCaption = QStringLiteral("Harvo V6 Plus for Windows");

class CErrMsg {
 public:
  CErrMsg() = default;

  // Shows message `code`. kind 1 is an error box, kind 0 a notice; flags is
  // passed as 0. Returns the presenter's answer as an int (IDOK = 1).
  int Disp(long code, int kind, int flags = 0, const QString& caption = kHrvCaption,
           QWidget* parent = nullptr);
  // Shows the text for a database error number of a caught exception.
  int DispDaoErr(long daoCode, QWidget* parent = nullptr, int flags = 0,
                 const QString& caption = kHrvCaption);

  // The text of a message number; a text naming the number when unknown.
  static QString text(long code);
  static bool hasText(long code);
  // The text shown for a database error number.
  static QString daoText(long daoCode);
};
