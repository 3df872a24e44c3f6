// Parsing the settings file and INI files where a line-by-line parser can
// turn quadratic, each against a file of the same size that does not:
//  - a 2 MB binary value on continued lines, against the same lines each a
//    value of its own;
//  - every value of a key with 16,000 values, against 16,000 values spread
//    over 1,000 keys;
//  - a key at the end of an INI section of 16,000 keys, against the same
//    keys in 1,000 sections.
#include "platform/profile.h"
#include "platform/reg_document.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kBinaryLines = 26000;  // 25 bytes a line, 2 MB of text
constexpr int kBytesPerLine = 25;
constexpr int kKeys = 16000;
constexpr int kKeysPerSmallSection = 16;

QByteArray hexBytes(int line) {
  QByteArray out;
  for (int i = 0; i < kBytesPerLine; ++i)
    out += QByteArray::number((line + i) % 256, 16).rightJustified(2, '0') + ',';
  out.chop(1);
  return out;
}

QByteArray regHead(const char* key) {
  return QByteArray("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\") + key + "]\n";
}

// One value "Colors" whose bytes run over kBinaryLines lines, as regedit
// writes them.
const QByteArray& continuedBinary() {
  static const QByteArray file = [] {
    QByteArray out = regHead("Software\\Velqor") + "\"Colors\"=hex:";
    for (int line = 0; line < kBinaryLines; ++line)
      out += (line ? "  " : "") + hexBytes(line) + (line + 1 < kBinaryLines ? ",\\\n" : "\n");
    return out;
  }();
  return file;
}

// The same lines, each a value of its own.
const QByteArray& binaryLines() {
  static const QByteArray file = [] {
    QByteArray out = regHead("Software\\Velqor");
    for (int line = 0; line < kBinaryLines; ++line)
      out += "\"C" + QByteArray::number(line) + "\"=hex:" + hexBytes(line) + "\n";
    return out;
  }();
  return file;
}

void BM_RegParseContinuedBinary(benchmark::State& state) {
  const QByteArray& file = continuedBinary();
  for (auto _ : state) {
    const hv6::RegDocument document = hv6::RegDocument::parse(file);
    const hv6::RegValue* value = document.value(QStringLiteral("Software\\Velqor"), QStringLiteral("Colors"));
    if (!value || value->bytes.size() != kBinaryLines * kBytesPerLine) state.SkipWithError("not read");
  }
  state.counters["bytes"] = double(file.size());
}
BENCHMARK(BM_RegParseContinuedBinary)->Unit(benchmark::kMillisecond);

void BM_RegParseBinaryLines(benchmark::State& state) {
  const QByteArray& file = binaryLines();
  for (auto _ : state) {
    const hv6::RegDocument document = hv6::RegDocument::parse(file);
    const QString last = QStringLiteral("C%1").arg(kBinaryLines - 1);
    if (!document.value(QStringLiteral("Software\\Velqor"), last)) state.SkipWithError("not read");
  }
  state.counters["bytes"] = double(file.size());
}
BENCHMARK(BM_RegParseBinaryLines)->Unit(benchmark::kMillisecond);

QString valueName(int i) { return QStringLiteral("Value%1").arg(i, 5, 10, QLatin1Char('0')); }

// kKeys values in keys of perKey values each.
QByteArray regValues(int perKey) {
  QByteArray out = "Windows Registry Editor Version 5.00\n";
  for (int i = 0; i < kKeys; ++i) {
    if (i % perKey == 0) out += "\n[HKEY_CURRENT_USER\\Software\\K" + QByteArray::number(i / perKey) + "]\n";
    out += "\"" + valueName(i).toLatin1() + "\"=\"text of the value\"\n";
  }
  return out;
}

void readEveryValue(benchmark::State& state, int perKey) {
  const QByteArray file = regValues(perKey);
  for (auto _ : state) {
    const hv6::RegDocument document = hv6::RegDocument::parse(file);
    int found = 0;
    for (int i = 0; i < kKeys; ++i)
      found += document.value(QStringLiteral("Software\\K%1").arg(i / perKey), valueName(i)) ? 1 : 0;
    if (found != kKeys) state.SkipWithError("not read");
  }
}

void BM_RegEveryValueOfOneKey(benchmark::State& state) { readEveryValue(state, kKeys); }
BENCHMARK(BM_RegEveryValueOfOneKey)->Unit(benchmark::kMillisecond);

void BM_RegEveryValueOfSmallKeys(benchmark::State& state) {
  readEveryValue(state, kKeysPerSmallSection);
}
BENCHMARK(BM_RegEveryValueOfSmallKeys)->Unit(benchmark::kMillisecond);

// An INI file of kKeys keys in sections of perSection keys; the key looked
// up is the last one.
void iniLookup(benchmark::State& state, int perSection) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("wxfetch.ini"));
  QByteArray text;
  for (int i = 0; i < kKeys; ++i) {
    if (i % perSection == 0) text += "[S" + QByteArray::number(i / perSection) + "]\r\n";
    text += "KEY" + QByteArray::number(i) + "=value " + QByteArray::number(i) + "\r\n";
  }
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
    state.SkipWithError("cannot write the file");
    return;
  }
  file.close();
  const QString section = QStringLiteral("S%1").arg((kKeys - 1) / perSection);
  const QString key = QStringLiteral("KEY%1").arg(kKeys - 1);
  for (auto _ : state) {
    QString value;
    hv6::GetPrivateProfileString(section, key, QString(), value, 260, path);
    if (value.isEmpty()) state.SkipWithError("not read");
  }
}

void BM_IniLookupInOneSection(benchmark::State& state) { iniLookup(state, kKeys); }
BENCHMARK(BM_IniLookupInOneSection)->Unit(benchmark::kMillisecond);

void BM_IniLookupInSmallSections(benchmark::State& state) {
  iniLookup(state, kKeysPerSmallSection);
}
BENCHMARK(BM_IniLookupInSmallSections)->Unit(benchmark::kMillisecond);

}  // namespace
