#pragma once
// The settings file in .reg syntax, parsed into lines that keep their text:
// keys ("[HKEY_CURRENT_USER\...]"), values ("Name"="text", dword:, hex:)
// and everything else, which is written back unchanged.
//
// Key paths are relative to HKEY_CURRENT_USER; "a\\b", "\\a\\b\\" and
// "A\\B" name the same key. A key exists when it has a section of its own
// or a section below it (as regedit creates parents on import).

#include "platform/registry.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace hv6 {

struct RegValue {
  enum class Kind { String, Dword, Binary, Other };  // Other: hex(n): forms
  Kind kind = Kind::String;
  QString text;
  std::uint32_t dword = 0;
  QByteArray bytes;

  static RegValue string(const QString& text);
  static RegValue number(std::uint32_t dword);
  static RegValue binary(const QByteArray& bytes);
};

class RegDocument {
 public:
  static constexpr auto kHeader = "Windows Registry Editor Version 5.00";

  static RegDocument parse(const QByteArray& utf8);
  QByteArray toBytes() const;

  bool keyExists(const QString& key) const;
  // The value, or nullptr; of repeated definitions the last one counts.
  const RegValue* value(const QString& key, const QString& name) const;
  QStringList valueNames(const QString& key) const;
  QStringList subKeys(const QString& key) const;

  // NoKey when the key does not exist; keys are never created here.
  RegStatus setValue(const QString& key, const QString& name, const RegValue& value);
  RegStatus removeValue(const QString& key, const QString& name);
  // Creates the key and its missing parents; false for a path that cannot
  // be stored (empty component or a line break).
  bool createKey(const QString& key);

  // Whether both documents hold the same keys and the same values (how the
  // lines are spelled aside).
  bool readsAs(const RegDocument& other) const;

  // The canonical form of a key path: components joined by '\'.
  static QString normalizeKey(const QString& key);

 private:
  struct Line {
    enum class Kind { Raw, Section, Value };
    Kind kind = Kind::Raw;
    QByteArray raw;      // the text as read, or as last written
    bool indexed = false;  // Section: a key of HKEY_CURRENT_USER (not a deletion)
    QString key;         // Section: the normalized path
    QString name;        // Value: the name, empty for the default value
    QString foldedName;  // Value
    RegValue value;      // Value
  };

  void reindex();
  QList<int> sectionsOf(const QString& key) const;
  int sectionEnd(int header) const;
  int findValueLine(const QString& key, const QString& name) const;
  int lastContentLine(int header) const;
  int insertSection(const QString& key);
  QString spelled(const QString& key) const;
  void insertValue(int header, const QString& name, const RegValue& value);
  void keepApart(int next);
  static Line valueLine(const QString& name, const RegValue& value);

  QList<Line> lines_;
  bool hasHeader_ = false;
  QHash<QString, QList<int>> sections_;  // folded key -> its section lines
  QSet<QString> knownKeys_;              // folded keys, with implicit parents
  QList<int> headers_;                   // every section line, in order
  // folded key -> folded name -> the line of its last definition
  QHash<QString, QHash<QString, int>> values_;
};

}  // namespace hv6
