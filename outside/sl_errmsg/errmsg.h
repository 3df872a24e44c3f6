#pragma once
// Numbered error boxes of the sales module. The host owns the object and
// hands it to the module; the module shows every error through it, so the
// boxes appear through the host's message presenter (the calls are virtual
// for that reason: the host's code runs, not a copy inside the module).

#include <QString>

class QWidget;

namespace sl {

// The caption of every numbered box of the sales module.
inline const QString kSlCaption = QStringLiteral("Harvo V6 Plus for Windows");

class CErrMsg {
 public:
  CErrMsg() = default;
  virtual ~CErrMsg() = default;
  CErrMsg(const CErrMsg&) = delete;
  CErrMsg& operator=(const CErrMsg&) = delete;

  // Shows error `number` with an OK button. A nonzero status (what the
  // store returned) is named under the text. Returns 1 (OK).
  virtual int Disp(int status, QWidget* parent, long number);
  // Shows a text of the module's own as an error box. Returns 1 (OK).
  virtual int DispText(const QString& text, QWidget* parent);

  // The text of an error number; a text naming the number when unknown.
  static QString text(long number);
  static bool hasText(long number);
  // The whole text a box shows for a number and a status.
  static QString boxText(long number, int status);
};

}  // namespace sl
