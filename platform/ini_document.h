#pragma once
// The text of an INI file as lines that keep their text: section headers,
// key=value entries and everything else (comments, blanks, stray text).
// Lookups ignore case; of repeated keys the first one counts.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace hv6 {

class IniDocument {
 public:
  static IniDocument parse(const QString& text);
  // Lines joined with the line end the text had ("\n" for a new text).
  QString toText() const;

  // The value as written, blanks around it removed.
  std::optional<QString> value(const QString& section, const QString& key) const;
  void setValue(const QString& section, const QString& key, const QString& value);
  void removeKey(const QString& section, const QString& key);
  void removeSection(const QString& section);
  QStringList sections() const;
  QStringList keys(const QString& section) const;

 private:
  struct Line {
    enum class Kind { Other, Section, Entry };
    Kind kind = Kind::Other;
    QString text;
    QString name;    // the section name or the key, as written
    QString folded;  // name without case
    QString value;   // Entry
  };

  static Line entryLine(const QString& key, const QString& value);
  int sectionEnd(int header) const;
  int findEntry(const QString& section, const QString& key) const;
  int firstSection(const QString& section) const;
  int appendSection(const QString& section);

  QList<Line> lines_;
  QString lineEnd_ = QStringLiteral("\n");
  bool finalLineEnd_ = true;
};

}  // namespace hv6
