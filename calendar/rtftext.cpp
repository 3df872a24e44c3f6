#include "calendar/rtftext.h"

#include "platform/codec.h"

#include <QStringList>

#include <vector>

namespace hv6::rtf {
namespace {

// Destinations whose text is no part of the document's body.
bool isSkippedDestination(const QByteArray& word) {
  static const char* const kSkipped[] = {
      "fonttbl",  "colortbl", "stylesheet", "info",     "pict",       "object",
      "header",   "headerl",  "headerr",    "headerf",  "footer",     "footerl",
      "footerr",  "footerf",  "footnote",   "fldinst",  "themedata",  "colorschememapping",
      "latentstyles", "datastore", "listtable", "listoverridetable", "rsidtbl", "revtbl",
      "filetbl",  "pgdsctbl", "generator",  "xmlnstbl", "mmathPr",    "userprops",
      "docvar",   "pntext",   "pntxta",     "pntxtb",   "nonshppict", "ftnsep",
      "ftnsepc",  "ftncn",    "aftnsep",    "aftnsepc", "aftncn",     "bkmkstart",
      "bkmkend",  "private"};
  for (const char* name : kSkipped)
    if (word == name) return true;
  return false;
}

// Control words that stand for one character.
std::optional<QChar> characterOf(const QByteArray& word) {
  struct Named {
    const char* word;
    char16_t character;
  };
  static const Named kNamed[] = {
      {"par", u'\n'},      {"line", u'\n'},      {"sect", u'\n'},      {"page", u'\n'},
      {"row", u'\n'},      {"tab", u'\t'},       {"cell", u'\t'},      {"emdash", u'\u2014'},
      {"endash", u'\u2013'}, {"bullet", u'\u2022'}, {"lquote", u'\u2018'}, {"rquote", u'\u2019'},
      {"ldblquote", u'\u201c'}, {"rdblquote", u'\u201d'}, {"emspace", u' '}, {"enspace", u' '},
      {"qmspace", u' '}};
  for (const Named& named : kNamed)
    if (word == named.word) return QChar(named.character);
  return std::nullopt;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

class Reader {
 public:
  explicit Reader(const QByteArray& in) : in_(in) {}

  std::optional<QString> read() {
    while (ok_ && pos_ < in_.size()) {
      if (!step()) break;
    }
    if (!ok_ || !groups_.empty()) return std::nullopt;
    flush();
    return out_;
  }

 private:
  struct Group {
    bool skip = false;
    long fallback = 1;  // \ucN: characters that follow a \uN
  };

  // One token; false once the outermost group has closed.
  bool step() {
    const char c = in_.at(pos_);
    if (c == '{') return openGroup();
    if (c == '}') return closeGroup();
    if (c == '\\') {
      control();
      return true;
    }
    ++pos_;
    if (c != '\r' && c != '\n') textByte(c);
    return true;
  }

  bool openGroup() {
    ++pos_;
    pendingFallback_ = 0;
    groups_.push_back(groups_.empty() ? Group{} : groups_.back());
    return true;
  }

  bool closeGroup() {
    ++pos_;
    pendingFallback_ = 0;
    if (groups_.empty()) return fail();
    groups_.pop_back();
    return !groups_.empty();
  }

  void control() {
    if (pos_ + 1 >= in_.size()) {
      fail();
      return;
    }
    const char next = in_.at(pos_ + 1);
    if (isLetter(next)) {
      controlWord();
      return;
    }
    if (next == '\'') {
      hexEscape();
      return;
    }
    pos_ += 2;
    controlSymbol(next);
  }

  void controlSymbol(char symbol) {
    if (symbol == '\\' || symbol == '{' || symbol == '}') {
      textByte(symbol);
      return;
    }
    if (skipFallback()) return;
    if (symbol == '*') {
      current().skip = true;
    } else if (symbol == '~') {
      put(QChar(u' '));
    } else if (symbol == '_') {
      put(QChar(u'-'));
    } else if (symbol == '\r' || symbol == '\n') {
      put(QChar(u'\n'));
    }
  }

  void hexEscape() {
    if (pos_ + 3 >= in_.size()) {
      fail();
      return;
    }
    const int high = hexValue(in_.at(pos_ + 2));
    const int low = hexValue(in_.at(pos_ + 3));
    pos_ += 4;
    if (high < 0 || low < 0) {
      fail();
      return;
    }
    textByte(static_cast<char>(high * 16 + low));
  }

  void controlWord() {
    qsizetype at = pos_ + 1;
    while (at < in_.size() && isLetter(in_.at(at))) ++at;
    const QByteArray word = in_.mid(pos_ + 1, at - pos_ - 1);
    const bool negative = at < in_.size() && in_.at(at) == '-';
    if (negative) ++at;
    long parameter = 0;
    int digits = 0;
    for (; at < in_.size() && isDigit(in_.at(at)); ++at, ++digits)
      if (digits < 10) parameter = parameter * 10 + (in_.at(at) - '0');
    if (negative) parameter = -parameter;
    if (at < in_.size() && in_.at(at) == ' ') ++at;
    pos_ = at;
    if (word == "bin") {
      skipBinary(parameter);
      return;
    }
    if (skipFallback()) return;
    applyWord(word, parameter, digits > 0);
  }

  void applyWord(const QByteArray& word, long parameter, bool hasParameter) {
    if (isSkippedDestination(word)) {
      current().skip = true;
      return;
    }
    if (word == "uc") {
      current().fallback = hasParameter && parameter >= 0 ? parameter : 1;
      return;
    }
    if (word == "u") {
      put(QChar(static_cast<char16_t>(parameter < 0 ? parameter + 65536 : parameter)));
      pendingFallback_ = current().fallback;
      return;
    }
    if (const std::optional<QChar> character = characterOf(word)) put(*character);
  }

  void skipBinary(long bytes) {
    if (bytes < 0 || bytes > in_.size() - pos_) {
      fail();
      return;
    }
    pos_ += bytes;
  }

  // The characters standing in for a \uN are read and dropped.
  bool skipFallback() {
    if (pendingFallback_ <= 0) return false;
    --pendingFallback_;
    return true;
  }

  void textByte(char byte) {
    if (skipFallback() || current().skip) return;
    pending_.append(byte);
  }

  // Bytes wait until a character of another kind comes, so that a lead and
  // a trail byte given as two escapes decode as one character.
  void put(QChar character) {
    if (current().skip) return;
    flush();
    out_.append(character);
  }

  void flush() {
    if (pending_.isEmpty()) return;
    out_ += cp932::decode(pending_);
    pending_.clear();
  }

  Group& current() { return groups_.back(); }

  bool fail() {
    ok_ = false;
    return false;
  }

  const QByteArray& in_;
  qsizetype pos_ = 0;
  bool ok_ = true;
  std::vector<Group> groups_;
  long pendingFallback_ = 0;
  QByteArray pending_;
  QString out_;
};

}  // namespace

std::optional<QString> plainText(const QByteArray& document) {
  if (!document.startsWith("{\\rtf")) return std::nullopt;
  return Reader(document).read();
}

QString oneLine(const QString& plain, int maxChars) {
  QStringList parts;
  for (QString line : plain.split(QLatin1Char('\n'))) {
    line.replace(QLatin1Char('\t'), QLatin1Char(' '));
    line = line.trimmed();
    if (!line.isEmpty()) parts.append(line);
  }
  QString text = parts.join(QLatin1Char(' '));
  if (text.size() <= maxChars) return text;
  text.truncate(maxChars);
  if (!text.isEmpty() && text.back().isHighSurrogate()) text.chop(1);
  return text;
}

}  // namespace hv6::rtf
