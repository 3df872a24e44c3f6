#include "outside/vqbase106/ui/vqcalendar.h"

#include "outside/vqbase106/ui/weatherpicture.h"
#include "outside/vqbase106/vqholiday.h"
#include "outside/vqbase106/vqlunar.h"

#include <QDate>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSet>

#include <array>

namespace {

using hv6::CalendarDisplay;
using hv6::CalendarGrid;

struct Memo {
  QString text;
  QColor colour;
};

using WeatherItems = std::array<int, 3>;

const QColor kSundayRed(0xd0, 0x21, 0x1c);
const QColor kSaturdayBlue(0x1d, 0x5a, 0xc0);
const QColor kGridLine(0xc4, 0xc8, 0xce);
const QColor kHeaderBack(0xf1, 0xf3, 0xf5);
const QColor kSelectedBack(0xff, 0xf3, 0xbf);
const QColor kSelectedEdge(0xe0, 0x9a, 0x00);
const QColor kQuiet(0x8a, 0x8f, 0x96);
const QColor kGrey(0xb4, 0xb8, 0xbe);

constexpr int kWeatherSide = 16;
constexpr int kPad = 3;

const char* const kWeekJapanese[] = {"日", "月", "火", "水", "木", "金", "土"};
const char* const kWeekEnglish[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kRokuyo[] = {"先勝", "友引", "先負", "仏滅", "大安", "赤口"};

QColor fromColorRef(unsigned long colour) {
  return QColor(static_cast<int>(colour & 0xff), static_cast<int>((colour >> 8) & 0xff),
                static_cast<int>((colour >> 16) & 0xff));
}

long makeDate(int year, int month, int day) {
  return static_cast<long>(year) * 10000 + month * 100 + day;
}

QDate toDate(long yyyymmdd) {
  return QDate(static_cast<int>(yyyymmdd / 10000), static_cast<int>(yyyymmdd / 100 % 100),
               static_cast<int>(yyyymmdd % 100));
}

int toInt(long value) { return static_cast<int>(std::clamp(value, -1000000L, 1000000L)); }

// Fonts and their metrics, made once per widget font.
struct Fonts {
  QFont title, week, day, small, memo;
  int titleHeight = 0, weekHeight = 0, dayHeight = 0, smallHeight = 0, memoHeight = 0;

  void build(const QFont& base) {
    title = base;
    title.setPixelSize(20);
    title.setBold(true);
    week = base;
    week.setPixelSize(13);
    day = base;
    day.setPixelSize(15);
    day.setBold(true);
    small = base;
    small.setPixelSize(10);
    memo = base;
    memo.setPixelSize(12);
    titleHeight = QFontMetrics(title).height() + 10;
    weekHeight = QFontMetrics(week).height() + 6;
    dayHeight = QFontMetrics(day).height();
    smallHeight = QFontMetrics(small).height();
    memoHeight = QFontMetrics(memo).height();
  }
};

}  // namespace

struct CVqCalendar::Impl {
  int year = 2000;
  int month = 1;
  int day = 1;
  CalendarDisplay display = CalendarDisplay::Month;
  bool showRokuyo = false;
  bool english = false;
  bool showHead = true;
  QColor back = Qt::white;
  QHash<long, QList<Memo>> memos;
  QSet<long> marks;
  QHash<long, WeatherItems> weather;
  Fonts fonts;
  QFontMetrics memoMetrics{QFont()};
  QFontMetrics smallMetrics{QFont()};

  // Holiday name and six-day cycle per date, computed once.
  struct DayFacts {
    QString holiday;
    int sixDay;
  };
  mutable QHash<long, DayFacts> facts;
  const DayFacts& factsOf(long date) const {
    auto found = facts.constFind(date);
    if (found != facts.constEnd()) return *found;
    return *facts.insert(date, {holidayName(date), rokuyo(date)});
  }

  long key(long m, long dd) const { return makeDate(year, toInt(m), toInt(dd)); }
  CalendarGrid grid() const { return CalendarGrid(year, month, day, display); }
  long selected() const { return makeDate(year, month, day); }
};

CVqCalendar::CVqCalendar(QWidget* parent) : QWidget(parent), d(new Impl) {
  QFont base = font();
  base.setFamilies({QStringLiteral("Noto Sans CJK JP"), base.family()});
  setFont(base);
  d->fonts.build(font());
  d->memoMetrics = QFontMetrics(d->fonts.memo);
  d->smallMetrics = QFontMetrics(d->fonts.small);
  const QDate today = QDate::currentDate();
  d->year = today.year();
  d->month = today.month();
  d->day = today.day();
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  updateMinimumSize();
}

// Small enough for a tool window, big enough that every month cell keeps
// room for one line below its day line and weather row.
void CVqCalendar::updateMinimumSize() {
  const Fonts& f = d->fonts;
  const int cell = 2 * kPad + f.dayHeight + 1 + kWeatherSide + 2 + f.memoHeight + 1;
  const int minWidth = CalendarGrid::kColumns * (3 * (kWeatherSide + 2) + 2 * kPad + 2);
  setMinimumSize(minWidth, f.titleHeight + f.weekHeight + 6 * cell + 1);
}

CVqCalendar::~CVqCalendar() { delete d; }

long CVqCalendar::GetYear() const { return d->year; }
long CVqCalendar::GetMonth() const { return d->month; }
long CVqCalendar::GetDay() const { return d->day; }

void CVqCalendar::SetYear(long year) {
  moveTo(toInt(std::clamp(year, 1L, 9999L)), d->month, d->day);
}

void CVqCalendar::SetMonth(long month) {
  moveTo(d->year, toInt(std::clamp(month, 1L, 12L)), d->day);
}

void CVqCalendar::SetDay(long day) { moveTo(d->year, d->month, toInt(day)); }

void CVqCalendar::moveTo(int year, int month, int day) {
  const int last = QDate(year, month, 1).daysInMonth();
  d->year = year;
  d->month = month;
  d->day = std::clamp(day, 1, last);
  update();
  Q_EMIT dateChanged(d->selected());
}

void CVqCalendar::moveBy(int days) {
  const QDate next = QDate(d->year, d->month, d->day).addDays(days);
  moveTo(next.year(), next.month(), next.day());
}

void CVqCalendar::moveMonths(int months) {
  const QDate first = QDate(d->year, d->month, 1).addMonths(months);
  moveTo(first.year(), first.month(), d->day);
}

void CVqCalendar::AddMemo(long month, long day, const QString& text, unsigned long colour) {
  if (text.isEmpty()) return;  // an empty memo only asks for a redraw
  d->memos[d->key(month, day)].append({text, fromColorRef(colour)});
  update();
}

void CVqCalendar::DelMemo(long month, long day, const QString& text) {
  DelMemoOn(d->key(month, day), text);
}

void CVqCalendar::DelMemoOn(long date, const QString& text) {
  auto found = d->memos.find(date);
  if (found == d->memos.end()) return;
  if (text.isEmpty()) {
    d->memos.erase(found);
  } else {
    found->removeIf([&](const Memo& memo) { return memo.text == text; });
    if (found->isEmpty()) d->memos.erase(found);
  }
  update();
}

void CVqCalendar::SetMark(long month, long day) {
  d->marks.insert(d->key(month, day));
  update();
}

void CVqCalendar::DelMark(long month, long day) { DelMarkOn(d->key(month, day)); }

void CVqCalendar::DelMarkOn(long date) {
  d->marks.remove(date);
  update();
}

void CVqCalendar::SetWeathItem(long month, long day, long a, long b, long c) {
  const WeatherItems items{toInt(a), toInt(b), toInt(c)};
  const long date = d->key(month, day);
  const bool none = items[0] == hv6::kNoWeather && items[1] == hv6::kNoWeather &&
                    items[2] == hv6::kNoWeather;
  if (none)
    d->weather.remove(date);
  else
    d->weather.insert(date, items);
  update();
}

void CVqCalendar::DelWeathItem(long month, long day) { DelWeathItemOn(d->key(month, day)); }

void CVqCalendar::DelWeathItemOn(long date) {
  d->weather.remove(date);
  update();
}

void CVqCalendar::SetDispType(long type) {
  d->display = type == 2 ? CalendarDisplay::Week : CalendarDisplay::Month;
  update();
}

void CVqCalendar::SetKisetuType(long type) {
  d->showRokuyo = type == 1;
  update();
}

void CVqCalendar::SetWeekLang(long language) {
  d->english = language == 1;
  update();
}

void CVqCalendar::SetHeadDisp(long flag) {
  d->showHead = flag != 0;
  update();
}

void CVqCalendar::SetBackColor(unsigned long colour) {
  d->back = fromColorRef(colour);
  update();
}

void CVqCalendar::CompulsoryReDraw() { update(); }

QStringList CVqCalendar::memosOf(long yyyymmdd) const {
  QStringList out;
  for (const Memo& memo : d->memos.value(yyyymmdd)) out.append(memo.text);
  return out;
}

hv6::CalendarGrid CVqCalendar::grid() const { return d->grid(); }

bool CVqCalendar::hasMark(long yyyymmdd) const { return d->marks.contains(yyyymmdd); }

QList<int> CVqCalendar::weatherOf(long yyyymmdd) const {
  const auto found = d->weather.constFind(yyyymmdd);
  if (found == d->weather.constEnd()) return {};
  return {(*found)[0], (*found)[1], (*found)[2]};
}

int CVqCalendar::dispType() const { return d->display == CalendarDisplay::Week ? 2 : 1; }
bool CVqCalendar::showsRokuyo() const { return d->showRokuyo; }

// ---- geometry ---------------------------------------------------------------

int CVqCalendar::titleHeight() const { return d->showHead ? d->fonts.titleHeight : 0; }

QRect CVqCalendar::gridRect() const {
  const int top = titleHeight() + d->fonts.weekHeight;
  return QRect(0, top, width() - 1, height() - top - 1);
}

QRect CVqCalendar::cellRect(int row, int column) const {
  const QRect area = gridRect();
  const int rows = d->grid().rows();
  const int x0 = area.left() + area.width() * column / CalendarGrid::kColumns;
  const int x1 = area.left() + area.width() * (column + 1) / CalendarGrid::kColumns;
  const int y0 = area.top() + area.height() * row / rows;
  const int y1 = area.top() + area.height() * (row + 1) / rows;
  return QRect(QPoint(x0, y0), QPoint(x1, y1));
}

long CVqCalendar::dateAtPoint(const QPoint& point) const {
  const QRect area = gridRect();
  if (!area.contains(point) || area.width() <= 0 || area.height() <= 0) return 0;
  const int column = (point.x() - area.left()) * CalendarGrid::kColumns / area.width();
  const int row = (point.y() - area.top()) * d->grid().rows() / area.height();
  return d->grid().dateAt(row, std::min(column, CalendarGrid::kColumns - 1));
}

// The box the memo lines of a cell get: below the day line and the weather.
QRect CVqCalendar::memoBox(const QRect& cell, long date) const {
  int top = cell.top() + kPad + d->fonts.dayHeight + 1;
  if (d->weather.contains(date)) top += kWeatherSide + 2;
  return QRect(QPoint(cell.left() + kPad + 1, top), QPoint(cell.right() - kPad, cell.bottom() - kPad));
}

QStringList CVqCalendar::fitLines(long date, const QRect& box) const {
  const QList<Memo> memos = d->memos.value(date);
  const int capacity = std::max(0, box.height() / d->fonts.memoHeight);
  const int count = static_cast<int>(memos.size());
  const bool overflow = count > capacity;
  const int shown = overflow ? std::max(0, capacity - 1) : count;
  QStringList lines;
  for (int i = 0; i < shown; ++i)
    lines.append(d->memoMetrics.elidedText(memos[i].text, Qt::ElideRight, box.width()));
  if (overflow && capacity > 0) lines.append(QStringLiteral("+%1").arg(count - shown));
  return lines;
}

QStringList CVqCalendar::visibleLines(long yyyymmdd) const {
  int row = 0, column = 0;
  if (!d->grid().cellOf(yyyymmdd, row, column)) return {};
  const QRect cell = cellRect(row, column);
  return fitLines(yyyymmdd, memoBox(cell, yyyymmdd));
}

// ---- painting ---------------------------------------------------------------

void CVqCalendar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), d->back);
  if (d->showHead) paintTitle(painter);
  paintWeekHeader(painter);
  const CalendarGrid grid = d->grid();
  const long today = makeDate(QDate::currentDate().year(), QDate::currentDate().month(),
                              QDate::currentDate().day());
  for (const hv6::CalendarCell& cell : grid.cells())
    paintCell(painter, cell, cellRect(cell.row, cell.column), cell.date == today);
  paintSelection(painter);
}

void CVqCalendar::paintTitle(QPainter& painter) const {
  const QRect box(0, 0, width(), d->fonts.titleHeight);
  painter.setFont(d->fonts.title);
  painter.setPen(QColor(0x30, 0x33, 0x38));
  const QString text = d->english
                           ? QLocale(QLocale::English).monthName(d->month) + QStringLiteral(" %1").arg(d->year)
                           : QStringLiteral("%1年 %2月").arg(d->year).arg(d->month);
  painter.drawText(box, Qt::AlignCenter, text);
}

void CVqCalendar::paintWeekHeader(QPainter& painter) const {
  const QRect area = gridRect();
  const int top = titleHeight();
  painter.setFont(d->fonts.week);
  for (int column = 0; column < CalendarGrid::kColumns; ++column) {
    const QRect cell = cellRect(0, column);
    const QRect box(QPoint(cell.left(), top), QPoint(cell.right(), area.top()));
    painter.fillRect(box, kHeaderBack);
    painter.setPen(kGridLine);
    painter.drawRect(box);
    painter.setPen(column == 0 ? kSundayRed : column == 6 ? kSaturdayBlue : QColor(0x40, 0x44, 0x4a));
    const char* name = d->english ? kWeekEnglish[column] : kWeekJapanese[column];
    painter.drawText(box, Qt::AlignCenter, QString::fromUtf8(name));
  }
}

QColor CVqCalendar::dayColour(const hv6::CalendarCell& cell, bool holiday) const {
  if (!cell.inShownMonth) return kGrey;
  if (cell.column == 0 || holiday) return kSundayRed;
  if (cell.column == 6) return kSaturdayBlue;
  return QColor(0x26, 0x29, 0x2e);
}

QColor CVqCalendar::cellBack(const hv6::CalendarCell& cell, bool holiday) const {
  if (cell.date == d->selected()) return kSelectedBack;
  if (!cell.inShownMonth) return d->back.darker(104);
  if (cell.column == 0 || holiday) return QColor(0xff, 0xf4, 0xf3);
  if (cell.column == 6) return QColor(0xf2, 0xf6, 0xff);
  return d->back;
}

void CVqCalendar::paintCell(QPainter& painter, const hv6::CalendarCell& cell, const QRect& box,
                            bool today) const {
  const QString holiday = d->factsOf(cell.date).holiday;
  painter.fillRect(box, cellBack(cell, !holiday.isEmpty()));
  painter.setPen(kGridLine);
  painter.drawRect(box);
  paintDayLine(painter, cell, box, holiday, today);
  if (d->weather.contains(cell.date)) paintWeather(painter, cell.date, box);
  paintMemos(painter, cell, box);
}

// Day number, holiday name, six-day cycle and mark on the first line.
void CVqCalendar::paintDayLine(QPainter& painter, const hv6::CalendarCell& cell, const QRect& box,
                              const QString& holiday, bool today) const {
  const QRect line(box.left() + kPad + 1, box.top() + kPad, box.width() - 2 * kPad - 1, d->fonts.dayHeight);
  const QString number = QString::number(cell.date % 100);
  painter.setFont(d->fonts.day);
  const int numberWidth = QFontMetrics(d->fonts.day).horizontalAdvance(number);
  if (today) {
    painter.setPen(QPen(dayColour(cell, !holiday.isEmpty()), 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRect(line.left() - 2, line.top(), numberWidth + 4, line.height()), 3, 3);
  }
  painter.setPen(dayColour(cell, !holiday.isEmpty()));
  painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, number);
  int right = line.right();
  if (d->marks.contains(cell.date)) right = paintMark(painter, QPoint(right, line.center().y())) - 3;
  painter.setFont(d->fonts.small);
  if (d->showRokuyo) {
    const QString six = QString::fromUtf8(kRokuyo[(d->factsOf(cell.date).sixDay % 6 + 6) % 6]);
    const int sixWidth = d->smallMetrics.horizontalAdvance(six);
    painter.setPen(kQuiet);
    painter.drawText(QRect(right - sixWidth + 1, line.top(), sixWidth, line.height()),
                     Qt::AlignRight | Qt::AlignVCenter, six);
    right -= sixWidth + 3;
  }
  const int nameLeft = line.left() + numberWidth + 4;
  if (!holiday.isEmpty() && right > nameLeft) {
    painter.setPen(cell.inShownMonth ? kSundayRed : kGrey);
    const QString name = d->smallMetrics.elidedText(holiday, Qt::ElideRight, right - nameLeft);
    painter.drawText(QRect(nameLeft, line.top(), right - nameLeft, line.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, name);
  }
}

// A small camera; returns its left edge.
int CVqCalendar::paintMark(QPainter& painter, const QPoint& rightCentre) const {
  const QRectF body(rightCentre.x() - 12, rightCentre.y() - 4, 12, 8.5);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x3c, 0x7d, 0x4a));
  painter.drawRoundedRect(body, 1.5, 1.5);
  painter.drawRect(QRectF(body.left() + 2, body.top() - 1.8, 4, 2));
  painter.setBrush(Qt::white);
  painter.drawEllipse(body.center(), 2.6, 2.6);
  painter.restore();
  return static_cast<int>(body.left());
}

void CVqCalendar::paintWeather(QPainter& painter, long date, const QRect& box) const {
  const WeatherItems items = d->weather.value(date);
  const int top = box.top() + kPad + d->fonts.dayHeight + 1;
  int left = box.left() + kPad + 1;
  for (int code : items) {
    if (left + kWeatherSide > box.right() - kPad) return;
    hv6::paintWeatherPicture(painter, QRectF(left, top, kWeatherSide, kWeatherSide), code);
    left += kWeatherSide + 2;
  }
}

void CVqCalendar::paintMemos(QPainter& painter, const hv6::CalendarCell& cell, const QRect& box) const {
  const QRect area = memoBox(box, cell.date);
  const QStringList lines = fitLines(cell.date, area);
  if (lines.isEmpty()) return;
  const QList<Memo> memos = d->memos.value(cell.date);
  const bool overflow = lines.size() < memos.size();
  painter.setFont(d->fonts.memo);
  int y = area.top();
  for (int i = 0; i < lines.size(); ++i) {
    const bool more = overflow && i == lines.size() - 1;
    QColor colour = more ? kQuiet : memos[i].colour;
    if (!cell.inShownMonth) colour = colour.lighter(160);
    painter.setPen(colour);
    painter.drawText(QRect(area.left(), y, area.width(), d->fonts.memoHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     lines[i]);
    y += d->fonts.memoHeight;
  }
}

void CVqCalendar::paintSelection(QPainter& painter) const {
  int row = 0, column = 0;
  if (!d->grid().cellOf(d->selected(), row, column)) return;
  painter.setPen(QPen(kSelectedEdge, 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(cellRect(row, column).adjusted(1, 1, -1, -1));
}

// ---- input ------------------------------------------------------------------

void CVqCalendar::mousePressEvent(QMouseEvent* event) {
  const long date = dateAtPoint(event->position().toPoint());
  const QPoint global = event->globalPosition().toPoint();
  if (event->button() == Qt::RightButton) {
    if (date == 0)
      Q_EMIT backgroundRightClicked(global);
    else
      Q_EMIT dayRightClicked(date, global);
    return;
  }
  if (event->button() != Qt::LeftButton || date == 0) return;
  setFocus(Qt::MouseFocusReason);
  const QDate picked = toDate(date);
  moveTo(picked.year(), picked.month(), picked.day());
}

void CVqCalendar::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left: moveBy(-1); return;
    case Qt::Key_Right: moveBy(1); return;
    case Qt::Key_Up: moveBy(-7); return;
    case Qt::Key_Down: moveBy(7); return;
    case Qt::Key_PageUp: moveMonths(-1); return;
    case Qt::Key_PageDown: moveMonths(1); return;
    default: QWidget::keyPressEvent(event); return;
  }
}

void CVqCalendar::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    d->fonts.build(font());
    d->memoMetrics = QFontMetrics(d->fonts.memo);
    d->smallMetrics = QFontMetrics(d->fonts.small);
    updateMinimumSize();
  }
  QWidget::changeEvent(event);
}
