#pragma once
// Saving a slip: header, lines and the client's sales figures in one
// transaction, and the date stepping of the slip windows.

#include "outside/sl_jet/seljetaccess.h"

#include <QList>

#include <cstdint>

class QWidget;

namespace sl {

// Modes of UpdateClientSelslip.
enum SelslipMode : int {
  kStoreAppended = 0,  // a slip whose header was just appended (or, code 0, is appended now)
  kStoreChanged = 1,   // a changed stored slip
  kRemoveStored = 2,   // removes a stored slip, header and lines
};

class CCalc {
 public:
  // store: not owned; it must outlive this object.
  explicit CCalc(CSelJetAccess* store);

  // The day after a yyyymmdd date; 0 for a date that names no day.
  std::int32_t GetNextDate(std::int32_t yyyymmdd) const;

  // Writes or removes a slip and carries the change into its client's
  // figures: the stored slip's contribution is taken back, the new one's
  // added (balance by credit sales, sales total by sales slips, the slip
  // count by every slip), and the client's last slip date becomes the
  // latest date of its stored slips. Mode 0 and 1 write `header` with its
  // line count, the client's type and the header's keys copied into every
  // line, and replace the lines; mode 2 removes the slip stored under
  // asLoaded's code (header's when asLoaded has none). Everything happens
  // in one transaction: on failure nothing is written, `header` is as it
  // was, and lastStatus() tells why. Nonzero on success. `window` is the
  // caller's, for its own messages; nothing is shown here.
  int UpdateClientSelslip(QWidget* window, S_SELSLIPHD& header, const S_SELSLIPHD& asLoaded,
                          const QList<S_SELSLIP>& lines, int mode);

  // A stored slip whose client changed: removes the stored slip (mode 2
  // with asLoaded) and stores `header` with its lines as a new slip (mode
  // 0; it gets a new code), both in one transaction. Nonzero on success.
  int MoveClientSelslip(QWidget* window, S_SELSLIPHD& header, const S_SELSLIPHD& asLoaded,
                        const QList<S_SELSLIP>& lines);

  // The store status of the last failed call (kSlOk after a success).
  int lastStatus() const { return lastStatus_; }

 private:
  CSelJetAccess* store_;
  int lastStatus_ = kSlOk;
};

}  // namespace sl
