#include "install/demo/farmdiary.h"

#include <QDir>
#include <QSaveFile>
#include <array>
#include <map>
#include <set>
#include <vector>

#include "install/demo/random.h"
#include "platform/codec.h"

namespace hv6::demo {
namespace {

constexpr int kDaysPerMonth = 2;  // pages at least, besides the milestone days

constexpr std::array<std::array<const char*, 2>, 12> kRemarks{{
    {"雪が多い冬。ハウスの見回りを欠かさないようにする。", "今年の作付け計画を家族で話し合った。"},
    {"寒さが続く。機械の点検を少しずつ進めている。", "春に向けて資材の注文を済ませた。"},
    {"日差しが春らしくなってきた。", "トマトの芽がそろって出てきた。"},
    {"苗の生育は順調。朝晩の温度管理に気をつける。", "田んぼの準備が始まった。"},
    {"田植えの季節。家族総出の作業になった。", "新緑がまぶしい。"},
    {"梅雨入りが近い。防除の計画を立てる。", "きゅうりの生育が早い。"},
    {"梅雨明けを待ちながらの作業。", "トマトの色づきが楽しみ。"},
    {"暑い日が続く。熱中症に気をつけて早朝に作業した。", "収穫と出荷に追われる毎日。"},
    {"稲穂が色づいてきた。", "台風の進路が気になる。"},
    {"稲刈りが無事に終わった。", "朝晩めっきり冷えてきた。"},
    {"来年に向けて土づくりを始めた。", "大豆の選別作業が続く。"},
    {"一年の作業を振り返り、記録を整理した。", "雪囲いを済ませて冬支度。"},
}};

QString utf8(const char* text) { return QString::fromUtf8(text); }

QString skyText(const DayWeather& day) {
  const QString morning = weatherName(day.items[0]);
  const QString afternoon = weatherName(day.items[1]);
  if (morning.isEmpty() || afternoon.isEmpty() || morning == afternoon)
    return morning.isEmpty() ? afternoon : morning;
  return QStringLiteral("%1のち%2").arg(morning, afternoon);
}

void appendOnce(QStringList& list, const QString& text) {
  if (!text.isEmpty() && !list.contains(text)) list.append(text);
}

// What was done on a day: one sentence per job.
QStringList workSentences(const std::vector<const WorkEntry*>& entries) {
  std::vector<int> order;
  std::map<int, QStringList> places, people;
  std::map<int, double> boxes;
  for (const WorkEntry* entry : entries) {
    if (!places.contains(entry->job)) order.push_back(entry->job);
    if (entry->field >= 0)
      appendOnce(places[entry->job], utf8(fields()[static_cast<std::size_t>(entry->field)].name));
    appendOnce(people[entry->job], utf8(farmers()[static_cast<std::size_t>(entry->farmer)]));
    if (entry->kind == kSupply &&
        (entry->material == kTomatoBox || entry->material == kCucumberBox))
      boxes[entry->job] += entry->quantity;
  }
  QStringList sentences;
  for (int job : order) {
    const JobDef& def = jobs()[static_cast<std::size_t>(job)];
    const QString what =
        def.crop == kNoCrop
            ? utf8(def.name)
            : QStringLiteral("%1の%2").arg(utf8(crops()[static_cast<std::size_t>(def.crop)].name),
                                           utf8(def.name));
    const QString where = places[job].isEmpty()
                              ? QString()
                              : places[job].join(QStringLiteral("・")) + QStringLiteral("で");
    sentences.append(QStringLiteral("%1%2を行った（%3）。")
                         .arg(where, what, people[job].join(QStringLiteral("、"))));
    if (boxes[job] > 0)
      sentences.append(QStringLiteral("収穫量は出荷箱で%1箱。").arg(static_cast<int>(boxes[job])));
    if (sentences.size() >= 4) break;
  }
  return sentences;
}

class DiaryBuilder {
 public:
  DiaryBuilder(const Season& season, quint32 seed) : season_(season), random_(seed, 5) {
    for (const WorkEntry& entry : season.work) byDate_[entry.date].push_back(&entry);
  }

  std::set<QDate> chooseDays() {
    std::set<QDate> days;
    for (const WorkEntry& entry : season_.work)
      if (jobs()[static_cast<std::size_t>(entry.job)].milestone) days.insert(entry.date);
    for (int month = 1; month <= 12; ++month) addDaysOfMonth(days, month);
    return days;
  }

  QStringList page(const QDate& date) {
    const DayWeather& day = season_.weather[static_cast<std::size_t>(date.dayOfYear() - 1)];
    QStringList lines{QStringLiteral("天気：%1").arg(skyText(day))};
    const std::vector<const WorkEntry*>& entries = byDate_[date];
    lines += workSentences(entries);
    const auto& remarks = kRemarks[static_cast<std::size_t>(date.month() - 1)];
    lines.append(utf8(remarks[static_cast<std::size_t>(random_.between(0, 1))]));
    for (const WorkEntry* entry : entries) {
      if (entry->memo.isEmpty()) continue;
      lines.append(QStringLiteral("天候不順で延びていた作業をようやく終えた。"));
      break;
    }
    return lines;
  }

 private:
  void addDaysOfMonth(std::set<QDate>& days, int month) {
    std::vector<QDate> candidates;
    for (const auto& [date, entries] : byDate_)
      if (date.month() == month && !days.contains(date)) candidates.push_back(date);
    int inMonth = 0;
    for (const QDate& date : days) inMonth += date.month() == month ? 1 : 0;
    while (inMonth < kDaysPerMonth && !candidates.empty()) {
      const int pick = random_.between(0, static_cast<int>(candidates.size()) - 1);
      days.insert(candidates[static_cast<std::size_t>(pick)]);
      candidates.erase(candidates.begin() + pick);
      ++inMonth;
    }
  }

  const Season& season_;
  DemoRandom random_;
  std::map<QDate, std::vector<const WorkEntry*>> byDate_;
};

void appendRtfText(QByteArray& rtf, const QString& text) {
  for (int i = 0; i < text.size(); ++i) {
    const int units = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const QString character = text.mid(i, units);
    i += units - 1;
    const char16_t unit = character.at(0).unicode();
    if (unit < 0x80) {
      if (unit == '\\' || unit == '{' || unit == '}') rtf.append('\\');
      rtf.append(static_cast<char>(unit));
      continue;
    }
    for (char byte : cp932::encode(character))
      rtf.append(QByteArrayLiteral("\\'") +
                 QByteArray::number(static_cast<unsigned char>(byte), 16).rightJustified(2, '0'));
  }
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return;
  throw DemoError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
}

}  // namespace

QByteArray farmDiaryRtf(const QStringList& lines) {
  QByteArray rtf(
      "{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1041{\\fonttbl{\\f0\\fnil\\fcharset128 MS "
      "Gothic;}}\r\n"
      "\\viewkind4\\uc1\\pard\\lang1041\\f0\\fs21 ");
  for (const QString& line : lines) {
    appendRtfText(rtf, line);
    rtf.append("\\par\r\n");
  }
  rtf.append("}\r\n");
  return rtf;
}

QString farmDiaryFileName(const QDate& date) {
  return date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".rtf");
}

QStringList writeFarmDiary(const Season& season, quint32 seed, const QString& folder) {
  DiaryBuilder builder(season, seed);
  QStringList names;
  for (const QDate& date : builder.chooseDays()) {
    const QString name = farmDiaryFileName(date);
    writeFile(QDir(folder).filePath(name), farmDiaryRtf(builder.page(date)));
    names.append(name);
  }
  return names;
}

}  // namespace hv6::demo
