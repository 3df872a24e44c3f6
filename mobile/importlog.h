#pragma once
// The dated log of the mobile import: each rejected or duplicate record
// line with its fields labelled, and why it was not stored. Written in
// code page 932, as every text file of the system; entries are appended, so
// all runs of one day share one file.

#include <QList>
#include <QString>
#include <QStringList>

namespace hv6 {

class MobileImportLog {
 public:
  enum class Mode { Rejected, Duplicate };

  // materialNames: Mte1Name..Mte5Name, the names of material categories
  // 1-5 in the lines about a missing material.
  MobileImportLog(QString path, QStringList materialNames);

  // The entry of a received line: an empty line, the line's 29 pieces
  // (split at every ",") as "label=piece, ", and then for a rejected line
  // one line per failed field (1..29, in order), for a duplicate the
  // duplicate line. category is the line's material category.
  QString entryText(const QString& line, Mode mode, const QList<int>& failedFields,
                    int category) const;

  // Appends the entry. When the file cannot be written, the file-error
  // message is shown (once per log object) and the answer is false.
  bool write(const QString& line, Mode mode, const QList<int>& failedFields, int category);

  // Whether some entry could not be written.
  bool hasFailed() const { return failed_; }
  const QString& path() const { return path_; }

 private:
  QString materialName(int category) const;

  QString path_;
  QStringList materialNames_;
  bool failed_ = false;
};

}  // namespace hv6
