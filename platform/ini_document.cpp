#include "platform/ini_document.h"

#include <QSet>

namespace hv6 {
namespace {

QString folded(const QString& text) { return text.trimmed().toCaseFolded(); }

bool isBlank(const QString& text) { return text.trimmed().isEmpty(); }

}  // namespace

IniDocument IniDocument::parse(const QString& text) {
  IniDocument doc;
  if (text.isEmpty()) return doc;
  doc.lineEnd_ = text.contains(QStringLiteral("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
  doc.finalLineEnd_ = text.endsWith(u'\n');
  QStringList lines = text.split(u'\n');
  if (doc.finalLineEnd_) lines.removeLast();
  for (QString& raw : lines) {
    if (raw.endsWith(u'\r')) raw.chop(1);
    Line line;
    line.text = raw;
    const QString trimmed = raw.trimmed();
    const qsizetype close = trimmed.lastIndexOf(u']');
    const qsizetype equals = trimmed.indexOf(u'=');
    if (trimmed.startsWith(u'[') && close > 0) {
      line.kind = Line::Kind::Section;
      line.name = trimmed.mid(1, close - 1).trimmed();
    } else if (!trimmed.startsWith(u';') && equals > 0) {
      line.kind = Line::Kind::Entry;
      line.name = trimmed.left(equals).trimmed();
      line.value = trimmed.mid(equals + 1).trimmed();
    }
    line.folded = folded(line.name);
    doc.lines_.append(line);
  }
  return doc;
}

QString IniDocument::toText() const {
  QStringList texts;
  for (const Line& line : lines_) texts.append(line.text);
  QString out = texts.join(lineEnd_);
  if (finalLineEnd_ && !lines_.isEmpty()) out += lineEnd_;
  return out;
}

int IniDocument::sectionEnd(int header) const {
  int i = header + 1;
  while (i < int(lines_.size()) && lines_.at(i).kind != Line::Kind::Section) ++i;
  return i;
}

int IniDocument::firstSection(const QString& section) const {
  const QString wanted = folded(section);
  for (int i = 0; i < int(lines_.size()); ++i)
    if (lines_.at(i).kind == Line::Kind::Section && lines_.at(i).folded == wanted) return i;
  return -1;
}

int IniDocument::findEntry(const QString& section, const QString& key) const {
  const QString wantedSection = folded(section);
  const QString wantedKey = folded(key);
  for (int header = 0; header < int(lines_.size()); ++header) {
    const Line& head = lines_.at(header);
    if (head.kind != Line::Kind::Section || head.folded != wantedSection) continue;
    for (int i = header + 1; i < sectionEnd(header); ++i)
      if (lines_.at(i).kind == Line::Kind::Entry && lines_.at(i).folded == wantedKey) return i;
  }
  return -1;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
  const int line = findEntry(section, key);
  if (line < 0) return std::nullopt;
  return lines_.at(line).value;
}

IniDocument::Line IniDocument::entryLine(const QString& key, const QString& value) {
  Line line;
  line.kind = Line::Kind::Entry;
  line.name = key.trimmed();
  line.folded = folded(key);
  line.value = value.trimmed();
  line.text = line.name + u'=' + value;
  return line;
}

// New sections go at the end, after a blank line.
int IniDocument::appendSection(const QString& section) {
  if (!lines_.isEmpty() && !isBlank(lines_.last().text)) lines_.append(Line());
  Line header;
  header.kind = Line::Kind::Section;
  header.name = section.trimmed();
  header.folded = folded(section);
  header.text = u'[' + header.name + u']';
  lines_.append(header);
  finalLineEnd_ = true;
  return int(lines_.size()) - 1;
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
  const int existing = findEntry(section, key);
  if (existing >= 0) {
    // The key keeps the spelling it had.
    lines_[existing] = entryLine(lines_.at(existing).name, value);
    return;
  }
  int header = firstSection(section);
  if (header < 0) header = appendSection(section);
  int position = header + 1;
  for (int i = header + 1; i < sectionEnd(header); ++i)
    if (lines_.at(i).kind == Line::Kind::Entry) position = i + 1;
  lines_.insert(position, entryLine(key, value));
}

void IniDocument::removeKey(const QString& section, const QString& key) {
  for (int line = findEntry(section, key); line >= 0; line = findEntry(section, key))
    lines_.removeAt(line);
}

void IniDocument::removeSection(const QString& section) {
  for (int header = firstSection(section); header >= 0; header = firstSection(section))
    lines_.remove(header, sectionEnd(header) - header);
}

QStringList IniDocument::sections() const {
  QStringList names;
  QSet<QString> seen;
  for (const Line& line : lines_) {
    if (line.kind != Line::Kind::Section || seen.contains(line.folded)) continue;
    seen.insert(line.folded);
    names.append(line.name);
  }
  return names;
}

QStringList IniDocument::keys(const QString& section) const {
  const QString wanted = folded(section);
  QStringList names;
  QSet<QString> seen;
  for (int header = 0; header < int(lines_.size()); ++header) {
    if (lines_.at(header).kind != Line::Kind::Section || lines_.at(header).folded != wanted) continue;
    for (int i = header + 1; i < sectionEnd(header); ++i) {
      const Line& line = lines_.at(i);
      if (line.kind != Line::Kind::Entry || seen.contains(line.folded)) continue;
      seen.insert(line.folded);
      names.append(line.name);
    }
  }
  return names;
}

}  // namespace hv6
