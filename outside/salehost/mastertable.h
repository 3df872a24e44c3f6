#pragma once
// The masters of the sales host (clients, goods, persons, ship-to) and its
// two single records (company, environment) as tables without widgets: the
// fields a form shows, the rows of the list, and the checks before a row is
// stored. The master window binds one of them; tests drive them directly.

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

namespace sl {
class CSelJetAccess;
}

namespace salehost {

enum class FieldType {
  Integer,  // whole number within minimum..maximum
  Decimal,  // number with `decimals` places within minimum..maximum
  Text,     // at most maxChars characters
  Choice,   // one of `choices`; the value is choiceBase + index
  Check,    // 0 or 1
};

struct FieldSpec {
  QString name;     // the edit's objectName
  QString caption;  // the label
  FieldType type = FieldType::Text;
  int maxChars = 0;
  double minimum = 0;
  double maximum = 0;
  int decimals = 0;
  QStringList choices;
  int choiceBase = 0;
  bool key = false;       // the code that identifies the row
  bool required = false;  // must not be empty
  bool listed = false;    // a column of the list
};

// The values of one row in field order.
using Values = QList<QVariant>;

// Why a row cannot be stored: a text for the user and the field to go to.
struct Refusal {
  QString text;
  int field = -1;
  bool refused() const { return !text.isEmpty(); }
};

class MasterTable {
 public:
  virtual ~MasterTable() = default;

  // The window's title, e.g. "得意先登録".
  virtual QString title() const = 0;
  // What a row is called in messages, e.g. "得意先".
  virtual QString rowName() const = 0;
  virtual const QList<FieldSpec>& fields() const = 0;
  // True for the company and environment records: one row, no list.
  virtual bool single() const = 0;

  // Reads every row (one for a single record); a store status (0 ok).
  virtual int load(QList<Values>& rows) = 0;
  // Stores a new row, or changes the row with the same key; a status.
  virtual int append(const Values& values) = 0;
  virtual int update(const Values& values) = 0;
  virtual int remove(const QVariant& key) = 0;
  // Which slip uses the row (a text for the refusal), empty when none.
  virtual QString usedBy(const QVariant& key) = 0;
  // A new row's values: the defaults of an empty record.
  virtual Values blank() const = 0;

  // The checks of the fields (required, length, range, choice) and of the
  // table's own rules, in field order; the first failing one is returned.
  Refusal check(const Values& values) const;
  // The key field's index (-1 for a single record).
  int keyField() const;

 protected:
  // A table's rule beyond its fields (e.g. the invoice number); empty when
  // the values pass.
  virtual Refusal checkRow(const Values& values) const;
};

// A value typed into a field, converted to what the field stores; invalid
// when the text is not a value of the field (a number field with letters).
QVariant valueFromText(const FieldSpec& field, const QString& text);
// How the list and the form show a stored value.
QString textOfValue(const FieldSpec& field, const QVariant& value);

// The tables over the sales store (not owned; it must outlive them).
std::unique_ptr<MasterTable> clientTable(sl::CSelJetAccess& store);
std::unique_ptr<MasterTable> goodsTable(sl::CSelJetAccess& store);
std::unique_ptr<MasterTable> personTable(sl::CSelJetAccess& store);
std::unique_ptr<MasterTable> shipToTable(sl::CSelJetAccess& store);
std::unique_ptr<MasterTable> companyTable(sl::CSelJetAccess& store);
std::unique_ptr<MasterTable> environmentTable(sl::CSelJetAccess& store);

// An invoice registration number: "T" and 13 digits (half-width); empty
// text is accepted (the company is not registered).
bool isInvoiceNumberFormat(const QString& text);

}  // namespace salehost
