#pragma once
// Numbered message boxes. The texts belong to this library; callers pass a
// number, a kind and the program's caption.
//
// A box shows the text of its number with an OK button. Kind 1 is an error
// box (error icon); any other kind is a notice, with the information or the
// warning icon as the message calls for. The kind reaches the presenter
// unchanged. Database errors (DispDaoErr) carry the database error number as
// their number and the kind kDaoErrKind, so they are told apart from the
// numbered messages.

#include <QString>

class QWidget;

// The caption every box of the program carries.
inline const QString kHrvCaption = QStringLiteral("Harvo V6 Plus for Windows");

class CErrMsg {
 public:
  // The kind of the box DispDaoErr shows.
  static constexpr int kDaoErrKind = -1;

  CErrMsg() = default;

  // Shows message `code`. kind 1 is an error box, kind 0 a notice; flags is
  // passed as 0. Returns the presenter's answer as an int (IDOK = 1).
  int Disp(long code, int kind, int flags = 0, const QString& caption = kHrvCaption,
           QWidget* parent = nullptr);
  // The same with a text of the caller's (a list of programs, a file error's
  // cause) on the lines after the message's own text.
  int Disp(long code, int kind, const QString& detail, int flags = 0,
           const QString& caption = kHrvCaption, QWidget* parent = nullptr);
  // Shows the text for a database error number of a caught exception.
  int DispDaoErr(long daoCode, QWidget* parent = nullptr, int flags = 0,
                 const QString& caption = kHrvCaption);

  // The text of a message number; a text naming the number when unknown.
  static QString text(long code);
  static bool hasText(long code);
  // The text shown for a database error number, ending with the number.
  static QString daoText(long daoCode);
};
