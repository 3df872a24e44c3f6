#pragma once
// Observation points and the fields tied to them, as dialog 144
// "ほ場の緯度経度設定" shows and edits them, without widgets.
//
// Points are the rows of Location in the weather database; a point with an
// end date has ended. Fields (FieldMst of the diary database) are tied to
// points by the rows of TargetField. Every change the editor makes runs
// inside one transaction on the weather database, opened by start() and
// ended by commit() or rollback().

#include <QHash>
#include <QList>
#include <QMetaType>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class CDaoDatabase;
class CDaoException;

namespace hv6 {

// One observation point (a Location row). Coordinates carry no hemisphere.
struct PointValues {
  long code = 0;  // 0: a point not yet stored
  int num = 0;    // the observation number shown to the user
  int latDegrees = 0;
  int latMinutes = 0;
  int latSeconds = 0;
  int lonDegrees = 0;
  int lonMinutes = 0;
  int lonSeconds = 0;
  long startDate = 0;  // yyyymmdd
  long endDate = 0;    // yyyymmdd; 0 while the point is observed

  friend bool operator==(const PointValues&, const PointValues&) = default;
};

// The start date in the short era form ("H.15/06/30"), followed by
// " - " and the end date when there is one. A start date that has no era
// form reads "H.00/00/00"; an end date without one is left out.
QString periodText(long startDate, long endDate);

// The text of a point's node:
// "観測地点 1 : 緯度35゜41´22″/ 経度139゜41´30″H.15/06/30".
QString pointNodeText(const PointValues& point);

// Observation numbers 1 to 6, each free or used by a point's code. The
// table lives as long as the program; the dialog marks the numbers of the
// current points it loads and frees the number of a point it deletes.
class ObservationSlots {
 public:
  static constexpr int kFirst = 1;
  static constexpr int kLast = 6;

  // Marks number num used by code; a number outside 1-6 has no slot.
  void use(int num, long code);
  // Frees the slot that code uses, if any.
  void release(long code);
  // The number whose slot code uses, or -1. Code 0 finds the first free
  // number.
  int find(long code) const;
  bool isUsed(int num) const;
  long codeOf(int num) const;  // 0 for a free or unknown number

 private:
  struct Slot {
    bool used = false;
    long code = 0;
  };
  std::array<Slot, kLast - kFirst + 1> slots_{};
};

// A node of the current points' tree: the root, a point, or a field under
// a point. A root without points makes every node kind None.
enum class NodeKind { None = -1, Root = 0, Point = 1, Field = 2 };

struct NodeRef {
  NodeKind kind = NodeKind::None;
  long code = 0;   // the point's or the field's code
  long point = 0;  // for a field: the code of its point
};

// A point and the codes of its fields, in field order.
struct PointEntry {
  PointValues values;
  QList<long> fields;
};

struct FieldRecord {
  long code = 0;
  QString name;
  long use = 0;  // 0: the field is in use and offered
};

class FieldLocationEditor {
 public:
  // What an operation came to. Closed: the transaction is gone (its
  // message shown); the dialog must close.
  enum class Outcome { Done, Unchanged, Failed, Closed };

  // Help contexts of the two dialogs.
  static constexpr int kHelpFieldLocation = 10016;
  static constexpr int kHelpLatLong = 10017;
  // Codes of new points stay within a byte: the weather retrieval reads
  // them as one.
  static constexpr long kLastPointCode = 255;

  FieldLocationEditor(CDaoDatabase* diary, CDaoDatabase* weather, ObservationSlots& slots);
  // Rolls back a transaction still open.
  ~FieldLocationEditor();
  FieldLocationEditor(const FieldLocationEditor&) = delete;
  FieldLocationEditor& operator=(const FieldLocationEditor&) = delete;

  // Repairs the links of deleted fields (2209 when any was removed), loads
  // points, fields and links, and begins the transaction. False when the
  // dialog must not open: a database is closed or a load failed (the
  // database error shown), or the transaction did not begin (2160 or 2716).
  bool start();
  // OK: commits. A failed commit is rolled back and shows 2160 (disk full)
  // or 2716; false then.
  bool commit();
  // Cancel: rolls back; a failure shows 2160 or 2716 and gives false.
  bool rollback();
  bool inTransaction() const { return open_; }
  // Called with true while the links are repaired and with false after (a
  // wait cursor, for one).
  void setBusyIndicator(std::function<void(bool)> busy) { busy_ = std::move(busy); }

  // Points in the order read (latitude degrees, then the latest end first);
  // points ended in this dialog follow the ended points read.
  const QList<PointEntry>& currentPoints() const { return current_; }
  const QList<PointEntry>& endedPoints() const { return ended_; }
  const PointEntry* currentPoint(long code) const;
  // Fields in use and tied to no current point, in field order.
  QList<long> freeFields() const;
  QString fieldName(long code) const;
  // Sorts field codes by SeqCode, then by code; a field without SeqCode
  // counts as 0.
  void sortFields(QList<long>& codes) const;

  // The point a modification starts from; 2230 when node is not a point.
  std::optional<PointValues> pointToModify(const NodeRef& node) const;
  // Stores a point's edited coordinates and dates. With an end date the
  // point ends: it moves to the ended points and its fields become free.
  Outcome modify(const PointValues& edited);
  // Deletes a point (not when a condition uses it or a risk uses one of its
  // fields: 2240) or unties a field from every point, after asking. The
  // root gives 2012.
  Outcome remove(const NodeRef& node);
  // Ties the fields, in order, to the point of node; 2232 (kind 2) when
  // node is no current point. Stops with 2232 (kind 1) at
  // a field tied to another point observed in this point's period.
  Outcome add(const NodeRef& node, const QList<long>& fields);
  // Stores a new point (from dialog 145, with its number chosen) under the
  // lowest code no point uses; the code, or 0 when none is left or the
  // insert failed.
  long addPoint(const PointValues& point);

 private:
  bool repairLinks();
  void loadPoints();
  void loadFields();
  void loadLinks();
  bool beginTransaction();
  // The transaction is still held; otherwise 2716 and it counts as closed.
  bool transactionHeld();
  // After a failed statement: the error shown; Closed when the transaction
  // went with it.
  Outcome failed(const CDaoException& error);
  Outcome failedForMemory();
  bool isTied(long field) const;
  Outcome removePoint(long code);
  Outcome removeField(long field);
  bool pointInUse(long code);
  long unusedCode();
  PointEntry* findCurrent(long code);

  CDaoDatabase* diary_;
  CDaoDatabase* weather_;
  ObservationSlots& slots_;
  QList<PointEntry> current_;
  QList<PointEntry> ended_;
  QHash<long, FieldRecord> fields_;
  QHash<long, long> sequence_;  // field code -> SeqCode
  bool open_ = false;
  std::function<void(bool)> busy_;
};

}  // namespace hv6

Q_DECLARE_METATYPE(hv6::PointValues)
