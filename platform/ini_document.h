#pragma once
// The text of an INI file as lines that keep their bytes: section headers,
// key=value entries and everything else (comments, blanks, stray text).
// Each line is decoded by itself, as UTF-8 or as code page 932, and a line
// no change touches is written back byte for byte, with its own line end.
// Lookups ignore case; of repeated keys the first one counts.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace hv6 {

class IniDocument {
 public:
  enum class Encoding { Utf8, Cp932 };

  static IniDocument parse(const QByteArray& bytes, Encoding encoding);
  // The lines as read and the lines changes made, in the file's encoding.
  QByteArray toBytes() const;

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
    QByteArray raw;  // the bytes without the line end
    QByteArray end;  // "\r\n", "\n", or empty for a last line without one
    QString name;    // the section name or the key, as written
    QString folded;  // name without case
    QString value;   // Entry
    bool blank = true;
  };

  Line newLine(Line::Kind kind, const QString& name, const QString& text) const;
  Line entryLine(const QString& key, const QString& value) const;
  void insertLine(int position, const Line& line);
  int sectionEnd(int header) const;
  int findEntry(const QString& section, const QString& key) const;
  int firstSection(const QString& section) const;
  int appendSection(const QString& section);

  QList<Line> lines_;
  Encoding encoding_ = Encoding::Utf8;
  QByteArray lineEnd_ = "\n";  // for new lines
};

}  // namespace hv6
