#include "outside/salehost/mastertable.h"

#include "outside/sl_jet/seljetaccess.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace salehost {

Refusal MasterTable::check(const Values& values) const {
  const QList<FieldSpec>& all = fields();
  for (int i = 0; i < all.size(); ++i) {
    const FieldSpec& field = all.at(i);
    const QVariant value = values.value(i);
    const QString caption = QStringLiteral("「%1」").arg(field.caption);
    switch (field.type) {
      case FieldType::Text: {
        const QString text = value.toString();
        if ((field.required || field.key) && text.trimmed().isEmpty())
          return {caption + QStringLiteral("を入力してください。"), i};
        if (text.size() > field.maxChars)
          return {caption + QStringLiteral("は%1文字までです（%2文字入力されています）。")
                                .arg(field.maxChars)
                                .arg(text.size()),
                  i};
        break;
      }
      case FieldType::Integer:
      case FieldType::Decimal: {
        if (!value.isValid() || value.isNull()) {
          if (field.required || field.key) return {caption + QStringLiteral("を入力してください。"), i};
          break;
        }
        const double number = value.toDouble();
        if (number < field.minimum || number > field.maximum)
          return {caption + QStringLiteral("は%1～%2の範囲で入力してください。")
                                .arg(QLocale::system().toString(field.minimum, 'f', field.decimals),
                                     QLocale::system().toString(field.maximum, 'f', field.decimals)),
                  i};
        break;
      }
      case FieldType::Choice: {
        const int index = value.toInt() - field.choiceBase;
        if (index < 0 || index >= field.choices.size())
          return {caption + QStringLiteral("を一覧から選んでください。"), i};
        break;
      }
      case FieldType::Check:
        break;
    }
  }
  return checkRow(values);
}

int MasterTable::keyField() const {
  const QList<FieldSpec>& all = fields();
  for (int i = 0; i < all.size(); ++i)
    if (all.at(i).key) return i;
  return -1;
}

Refusal MasterTable::checkRow(const Values&) const { return {}; }

QVariant valueFromText(const FieldSpec& field, const QString& text) {
  const QString trimmed = text.trimmed();
  switch (field.type) {
    case FieldType::Text:
      return text;
    case FieldType::Integer:
    case FieldType::Decimal: {
      if (trimmed.isEmpty()) return {};
      QString plain = trimmed;
      plain.remove(QLatin1Char(','));
      // Full-width digits typed with the input method count as digits.
      for (QChar& c : plain) {
        if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19) c = QChar(c.unicode() - 0xFF10 + '0');
        if (c.unicode() == 0xFF0E) c = QLatin1Char('.');
        if (c.unicode() == 0xFF0D || c.unicode() == 0x2212) c = QLatin1Char('-');
      }
      bool ok = false;
      const double number = plain.toDouble(&ok);
      if (!ok) return QVariant(QMetaType(QMetaType::QString));  // invalid for a number
      if (field.type == FieldType::Integer) {
        if (number != static_cast<double>(static_cast<qlonglong>(number)))
          return QVariant(QMetaType(QMetaType::QString));
        return static_cast<qlonglong>(number);
      }
      return number;
    }
    case FieldType::Choice: {
      const qsizetype index = field.choices.indexOf(text);
      return index < 0 ? QVariant() : QVariant(static_cast<int>(index) + field.choiceBase);
    }
    case FieldType::Check:
      return text == QStringLiteral("1") ? 1 : 0;
  }
  return {};
}

QString textOfValue(const FieldSpec& field, const QVariant& value) {
  switch (field.type) {
    case FieldType::Text:
      return value.toString();
    case FieldType::Integer:
      return value.isNull() || !value.isValid() ? QString() : QString::number(value.toLongLong());
    case FieldType::Decimal:
      return value.isNull() || !value.isValid()
                 ? QString()
                 : QLocale(QLocale::Japanese).toString(value.toDouble(), 'f', field.decimals);
    case FieldType::Choice:
      return field.choices.value(value.toInt() - field.choiceBase);
    case FieldType::Check:
      return value.toInt() != 0 ? QStringLiteral("○") : QString();
  }
  return {};
}

bool isInvoiceNumberFormat(const QString& text) {
  static const QRegularExpression pattern(QStringLiteral("^T[0-9]{13}$"));
  return text.isEmpty() || pattern.match(text).hasMatch();
}

namespace {

using sl::CSelJetAccess;

// One field of a record: its description and how it is read and written.
template <class Rec>
struct Binding {
  FieldSpec field;
  std::function<QVariant(const Rec&)> get;
  std::function<void(Rec&, const QVariant&)> set;
};

FieldSpec makeField(const char* name, const char16_t* caption, FieldType type) {
  FieldSpec field;
  field.name = QString::fromLatin1(name);
  field.caption = QString::fromUtf16(caption);
  field.type = type;
  return field;
}

template <class Rec, std::size_t N>
Binding<Rec> textField(const char* name, const char16_t* caption, char16_t (Rec::*member)[N],
                       bool listed = false, bool required = false) {
  FieldSpec field = makeField(name, caption, FieldType::Text);
  field.maxChars = static_cast<int>(N - 1);
  field.listed = listed;
  field.required = required;
  return {field, [member](const Rec& r) { return QVariant(sl::slText(r.*member)); },
          [member](Rec& r, const QVariant& v) { sl::slSetText(r.*member, v.toString()); }};
}

template <class Rec, class M>
Binding<Rec> integerField(const char* name, const char16_t* caption, M Rec::*member,
                          double minimum, double maximum, bool listed = false) {
  FieldSpec field = makeField(name, caption, FieldType::Integer);
  field.minimum = minimum;
  field.maximum = maximum;
  field.listed = listed;
  return {field, [member](const Rec& r) { return QVariant(static_cast<qlonglong>(r.*member)); },
          [member](Rec& r, const QVariant& v) { r.*member = static_cast<M>(v.toLongLong()); }};
}

template <class Rec>
Binding<Rec> decimalField(const char* name, const char16_t* caption, double Rec::*member,
                          double minimum, double maximum, int decimals, bool listed = false) {
  FieldSpec field = makeField(name, caption, FieldType::Decimal);
  field.minimum = minimum;
  field.maximum = maximum;
  field.decimals = decimals;
  field.listed = listed;
  return {field, [member](const Rec& r) { return QVariant(r.*member); },
          [member](Rec& r, const QVariant& v) { r.*member = v.toDouble(); }};
}

template <class Rec>
Binding<Rec> choiceField(const char* name, const char16_t* caption, std::uint8_t Rec::*member,
                         const QStringList& choices, int base, bool listed = false) {
  FieldSpec field = makeField(name, caption, FieldType::Choice);
  field.choices = choices;
  field.choiceBase = base;
  field.listed = listed;
  return {field, [member](const Rec& r) { return QVariant(static_cast<int>(r.*member)); },
          [member](Rec& r, const QVariant& v) { r.*member = static_cast<std::uint8_t>(v.toInt()); }};
}

template <class Rec>
Binding<Rec> checkField(const char* name, const char16_t* caption, std::uint8_t Rec::*member) {
  return {makeField(name, caption, FieldType::Check),
          [member](const Rec& r) { return QVariant(static_cast<int>(r.*member)); },
          [member](Rec& r, const QVariant& v) { r.*member = v.toInt() != 0 ? 1 : 0; }};
}

template <class Binding>
Binding asKey(Binding binding) {
  binding.field.key = true;
  binding.field.listed = true;
  return binding;
}

// How a table reaches the store.
template <class Rec>
struct RecordStore {
  std::function<int(QList<Rec>&)> load;
  std::function<int(const QVariant&, Rec&)> read;  // one row by key
  std::function<int(const Rec&)> append;
  std::function<int(const Rec&)> update;
  std::function<int(const QVariant&)> remove;
  std::function<QString(const QVariant&)> usedBy;
};

template <class Rec>
class RecordTable final : public MasterTable {
 public:
  RecordTable(QString title, QString rowName, bool single, QList<Binding<Rec>> bindings,
              RecordStore<Rec> store, std::function<Refusal(const Values&)> rule = {})
      : title_(std::move(title)),
        rowName_(std::move(rowName)),
        single_(single),
        bindings_(std::move(bindings)),
        store_(std::move(store)),
        rule_(std::move(rule)) {
    for (const Binding<Rec>& binding : bindings_) fieldSpecs_.append(binding.field);
  }

  QString title() const override { return title_; }
  QString rowName() const override { return rowName_; }
  const QList<FieldSpec>& fields() const override { return fieldSpecs_; }
  bool single() const override { return single_; }

  int load(QList<Values>& rows) override {
    QList<Rec> records;
    const int status = store_.load(records);
    if (status != sl::kSlOk) return status;
    rows.clear();
    for (const Rec& record : records) rows.append(valuesOf(record));
    return sl::kSlOk;
  }

  int append(const Values& values) override {
    Rec record{};
    apply(values, record);
    return store_.append(record);
  }

  // The stored row is read again first, so what the form does not show
  // (a client's sales figures) stays as the slips left it.
  int update(const Values& values) override {
    Rec record{};
    const int key = keyField();
    const int status = store_.read(key < 0 ? QVariant() : values.value(key), record);
    if (status != sl::kSlOk) return status;
    apply(values, record);
    return store_.update(record);
  }

  int remove(const QVariant& key) override {
    return store_.remove ? store_.remove(key) : sl::kSlNotFound;
  }

  QString usedBy(const QVariant& key) override {
    return store_.usedBy ? store_.usedBy(key) : QString();
  }

  Values blank() const override { return valuesOf(Rec{}); }

 protected:
  Refusal checkRow(const Values& values) const override {
    return rule_ ? rule_(values) : Refusal{};
  }

 private:
  Values valuesOf(const Rec& record) const {
    Values values;
    for (const Binding<Rec>& binding : bindings_) values.append(binding.get(record));
    return values;
  }

  void apply(const Values& values, Rec& record) const {
    for (int i = 0; i < bindings_.size(); ++i) bindings_.at(i).set(record, values.value(i));
  }

  QString title_;
  QString rowName_;
  bool single_;
  QList<Binding<Rec>> bindings_;
  QList<FieldSpec> fieldSpecs_;
  RecordStore<Rec> store_;
  std::function<Refusal(const Values&)> rule_;
};

QStringList texts(std::initializer_list<const char16_t*> list) {
  QStringList result;
  for (const char16_t* text : list) result.append(QString::fromUtf16(text));
  return result;
}

const QStringList& roundingChoices() {
  static const QStringList list = texts({u"切り捨て", u"切り上げ", u"四捨五入"});
  return list;
}

const QStringList& taxClassChoices() {
  static const QStringList list = texts({u"外税", u"内税", u"非課税", u"免税", u"不課税"});
  return list;
}

const QStringList& simpleTaxChoices() {
  static const QStringList list =
      texts({u"非簡易課税業者", u"第１種", u"第２種", u"第３種", u"第４種", u"第５種"});
  return list;
}

// The rates of the company's table as choices: "10%", "8%（軽減）", ...
QStringList rateChoices(CSelJetAccess& store) {
  sl::S_COMPANY company{};
  store.ReadCompany(company);
  QStringList list;
  for (int i = 0; i < sl::kTaxRateSlots; ++i) {
    QString text = QStringLiteral("%1: %2%").arg(i).arg(
        QLocale::c().toString(company.taxRates[i] / 100.0, 'g', 6));
    if (company.reducedRate[i] != 0) text += QStringLiteral("（軽減）");
    list.append(text);
  }
  return list;
}

// The slip that uses a master row, as a refusal text; empty when no slip
// does.
QString slipUsing(CSelJetAccess& store, sl::SlMaster master, const QString& code,
                  const QString& rowName) {
  sl::S_SELSLIPHD slip{};
  const int status = store.FindSlipUsing(master, code, slip);
  if (status == sl::kSlNotFound) return {};
  if (status != sl::kSlOk)
    return QStringLiteral("この%1を使っている伝票を確かめられませんでした（エラー %2）。")
        .arg(rowName)
        .arg(status);
  const long date = slip.slipDate;
  return QStringLiteral("この%1は%2 %3（%4/%5/%6）などで使われているため削除できません。")
      .arg(rowName,
           slip.slipKind == sl::kKindReservation ? QStringLiteral("予約伝票")
                                                  : QStringLiteral("売上伝票"),
           sl::slText(slip.slipNo).trimmed())
      .arg(date / 10000)
      .arg(date / 100 % 100, 2, 10, QLatin1Char('0'))
      .arg(date % 100, 2, 10, QLatin1Char('0'));
}

std::int32_t codeOf(const QVariant& key) { return static_cast<std::int32_t>(key.toLongLong()); }

}  // namespace

std::unique_ptr<MasterTable> clientTable(CSelJetAccess& store) {
  using R = sl::S_CLIENTSEL;
  QList<Binding<R>> fields{
      asKey(integerField("code", u"得意先コード", &R::code, 1, 99999999)),
      textField("name", u"得意先名", &R::name, true, true),
      textField("kana", u"フリガナ", &R::kana, true),
      textField("postCode", u"郵便番号", &R::postCode),
      textField("address1", u"住所１", &R::address1),
      textField("address2", u"住所２", &R::address2),
      textField("tel", u"電話番号", &R::tel, true),
      integerField("clientType", u"得意先区分", &R::clientType, 0, 99),
      choiceField("taxTiming", u"税計算ﾀｲﾐﾝｸﾞ", &R::taxTiming,
                  texts({u"明細行ごと", u"伝票ごと", u"締日一括"}), 1),
      choiceField("taxRounding", u"消費税端数処理", &R::taxRounding, roundingChoices(), 1),
      integerField("closeDay", u"請求締日（31は末日）", &R::closeDay, 1, 31),
      choiceField("priceClass", u"売値区分", &R::priceClass,
                  texts({u"標準売値", u"売値１", u"売値２", u"売値３"}), 0),
      decimalField("priceRate", u"売値掛率（％）", &R::priceRate, 0, 999.9, 1),
      decimalField("creditLimit", u"与信限度額", &R::creditLimit, 0, 9999999999.0, 0),
  };
  RecordStore<R> access{
      [&store](QList<R>& rows) { return store.ReadClients(rows); },
      [&store](const QVariant& key, R& row) { return store.ReadClient(codeOf(key), row); },
      [&store](const R& row) { return store.AppendClient(row); },
      [&store](const R& row) { return store.UpdateClient(row); },
      [&store](const QVariant& key) { return store.DeleteClient(codeOf(key)); },
      [&store](const QVariant& key) {
        return slipUsing(store, sl::SlMaster::Client, key.toString(), QStringLiteral("得意先"));
      }};
  return std::make_unique<RecordTable<R>>(QStringLiteral("得意先登録"), QStringLiteral("得意先"),
                                          false, fields, access);
}

std::unique_ptr<MasterTable> goodsTable(CSelJetAccess& store) {
  using R = sl::S_COMMODITY;
  const double price = 99999999.99;
  QList<Binding<R>> fields{
      asKey(textField("code", u"商品コード", &R::code)),
      textField("name", u"商品名", &R::name, true, true),
      textField("kana", u"フリガナ", &R::kana),
      textField("unit", u"単位", &R::unit, true),
      decimalField("irisu", u"入数", &R::irisu, 0, 99999.99, 2),
      decimalField("standardPrice", u"標準売値", &R::standardPrice, -price, price, 2, true),
      decimalField("price1", u"売値１", &R::price1, -price, price, 2),
      decimalField("price2", u"売値２", &R::price2, -price, price, 2),
      decimalField("price3", u"売値３", &R::price3, -price, price, 2),
      decimalField("costPrice", u"原単価", &R::costPrice, -price, price, 2),
      decimalField("minimumPrice", u"最低売価", &R::minimumPrice, 0, price, 2),
      checkField("checkMinimum", u"最低売価を下回る単価を確認する", &R::checkMinimum),
      choiceField("taxClass", u"税区分", &R::taxClass, taxClassChoices(), 0),
      choiceField("taxRateCode", u"税率", &R::taxRateCode, rateChoices(store), 0),
      choiceField("simpleTaxClass", u"簡易課税区分", &R::simpleTaxClass, simpleTaxChoices(), 0),
  };
  RecordStore<R> access{
      [&store](QList<R>& rows) {
        rows.clear();
        return store.ReadGoodsBatch(QString(), 1000000, rows);
      },
      [&store](const QVariant& key, R& row) { return store.ReadGoods(key.toString(), row); },
      [&store](const R& row) { return store.AppendGoods(row); },
      [&store](const R& row) { return store.UpdateGoods(row); },
      [&store](const QVariant& key) { return store.DeleteGoods(key.toString()); },
      [&store](const QVariant& key) {
        return slipUsing(store, sl::SlMaster::Goods, key.toString(), QStringLiteral("商品"));
      }};
  return std::make_unique<RecordTable<R>>(QStringLiteral("商品登録"), QStringLiteral("商品"),
                                          false, fields, access);
}

std::unique_ptr<MasterTable> personTable(CSelJetAccess& store) {
  using R = sl::S_PERSON;
  QList<Binding<R>> fields{
      asKey(integerField("code", u"担当者コード", &R::code, 1, 99999999)),
      textField("name", u"担当者名", &R::name, true, true),
  };
  RecordStore<R> access{
      [&store](QList<R>& rows) { return store.ReadPersons(rows); },
      [&store](const QVariant& key, R& row) { return store.ReadPerson(codeOf(key), row); },
      [&store](const R& row) { return store.AppendPerson(row); },
      [&store](const R& row) { return store.UpdatePerson(row); },
      [&store](const QVariant& key) { return store.DeletePerson(codeOf(key)); },
      [&store](const QVariant& key) {
        return slipUsing(store, sl::SlMaster::Person, key.toString(), QStringLiteral("担当者"));
      }};
  return std::make_unique<RecordTable<R>>(QStringLiteral("担当者登録"), QStringLiteral("担当者"),
                                          false, fields, access);
}

std::unique_ptr<MasterTable> shipToTable(CSelJetAccess& store) {
  using R = sl::S_SHIPTO;
  QList<Binding<R>> fields{
      asKey(integerField("code", u"発送先コード", &R::code, 1, 99999999)),
      integerField("clientCode", u"得意先コード（0はすべて）", &R::clientCode, 0, 99999999, true),
      textField("name", u"発送先名", &R::name, true, true),
      textField("postCode", u"郵便番号", &R::postCode),
      textField("address1", u"住所１", &R::address1, true),
      textField("address2", u"住所２", &R::address2),
      textField("tel", u"電話番号", &R::tel),
  };
  RecordStore<R> access{
      [&store](QList<R>& rows) { return store.ReadShipTos(rows); },
      [&store](const QVariant& key, R& row) { return store.ReadShipTo(codeOf(key), row); },
      [&store](const R& row) { return store.AppendShipTo(row); },
      [&store](const R& row) { return store.UpdateShipTo(row); },
      [&store](const QVariant& key) { return store.DeleteShipTo(codeOf(key)); },
      [&store](const QVariant& key) {
        return slipUsing(store, sl::SlMaster::ShipTo, key.toString(), QStringLiteral("発送先"));
      }};
  return std::make_unique<RecordTable<R>>(QStringLiteral("発送先登録"), QStringLiteral("発送先"),
                                          false, fields, access);
}

std::unique_ptr<MasterTable> companyTable(CSelJetAccess& store) {
  using R = sl::S_COMPANY;
  QList<Binding<R>> fields{
      textField("name", u"会社名", &R::name, false, true),
      textField("postCode", u"郵便番号", &R::postCode),
      textField("address1", u"住所１", &R::address1),
      textField("address2", u"住所２", &R::address2),
      textField("tel", u"電話番号", &R::tel),
      textField("fax", u"FAX番号", &R::fax),
      textField("invoiceNo", u"適格請求書発行事業者登録番号", &R::invoiceNo),
      choiceField("amountRounding", u"金額端数処理", &R::amountRounding, roundingChoices(), 1),
  };
  // The first four codes of the tax-rate table: the rate in % and the
  // reduced-rate mark.
  for (int i = 0; i < 4; ++i) {
    FieldSpec rate = makeField("", u"", FieldType::Decimal);
    rate.name = QStringLiteral("taxRate%1").arg(i);
    rate.caption = QStringLiteral("税率コード%1（％）").arg(i);
    rate.maximum = 100;
    rate.decimals = 2;
    fields.append({rate, [i](const R& r) { return QVariant(r.taxRates[i] / 100.0); },
                   [i](R& r, const QVariant& v) {
                     r.taxRates[i] = static_cast<std::int32_t>(std::lround(v.toDouble() * 100));
                   }});
    FieldSpec reduced = makeField("", u"", FieldType::Check);
    reduced.name = QStringLiteral("reducedRate%1").arg(i);
    reduced.caption = QStringLiteral("税率コード%1は軽減税率").arg(i);
    fields.append({reduced, [i](const R& r) { return QVariant(static_cast<int>(r.reducedRate[i])); },
                   [i](R& r, const QVariant& v) { r.reducedRate[i] = v.toInt() != 0 ? 1 : 0; }});
  }
  fields += QList<Binding<R>>{
      integerField("defaultTaxRateCode", u"伝票の既定の税率コード", &R::defaultTaxRateCode, 0, 3),
      checkField("cashSaleDefault", u"新しい売上伝票を小売で始める", &R::cashSaleDefault),
      choiceField("dateStyle", u"日付の表示", &R::dateStyle, texts({u"西暦", u"和暦"}), 0),
      checkField("hideIrisu", u"入数の欄を隠す", &R::hideIrisu),
      checkField("hideBoxes", u"箱数の欄を隠す", &R::hideBoxes),
      checkField("hideSimpleTax", u"簡易課税区分の欄を隠す", &R::hideSimpleTax),
      checkField("hideGrossProfit", u"粗利益の欄を隠す", &R::hideGrossProfit),
  };
  RecordStore<R> access{
      [&store](QList<R>& rows) {
        R company{};
        const int status = store.ReadCompany(company);
        if (status == sl::kSlOk) rows = {company};
        return status;
      },
      [&store](const QVariant&, R& row) { return store.ReadCompany(row); },
      [&store](const R& row) { return store.UpdateCompany(row); },
      [&store](const R& row) { return store.UpdateCompany(row); },
      {},
      {}};
  const auto rule = [](const Values& values) -> Refusal {
    const QString number = values.value(6).toString();
    if (!isInvoiceNumberFormat(number))
      return {QStringLiteral("「適格請求書発行事業者登録番号」は「T」と13桁の数字で入力してください"
                             "（例: T1234567890123）。"),
              6};
    return {};
  };
  return std::make_unique<RecordTable<R>>(QStringLiteral("自社情報"), QStringLiteral("自社情報"),
                                          true, fields, access, rule);
}

std::unique_ptr<MasterTable> environmentTable(CSelJetAccess& store) {
  using R = sl::S_SELENV;
  QList<Binding<R>> fields{
      textField("slipNoLow", u"伝票番号の範囲（下限）", &R::slipNoLow),
      textField("slipNoHigh", u"伝票番号の範囲（上限）", &R::slipNoHigh),
      checkField("wholeYenPrice", u"単価を円単位で入力する", &R::wholeYenPrice),
      integerField("workstation", u"端末番号", &R::workstation, 0, 99),
      textField("workFolder", u"作業フォルダ", &R::workFolder),
  };
  RecordStore<R> access{
      [&store](QList<R>& rows) {
        R env{};
        const int status = store.ReadEnvironment(env);
        if (status == sl::kSlOk) rows = {env};
        return status;
      },
      [&store](const QVariant&, R& row) { return store.ReadEnvironment(row); },
      [&store](const R& row) { return store.UpdateEnvironment(row); },
      [&store](const R& row) { return store.UpdateEnvironment(row); },
      {},
      {}};
  // Numbers are compared as right-aligned texts: the range must not be
  // upside down.
  const auto rule = [](const Values& values) -> Refusal {
    const QString low = values.value(0).toString().trimmed();
    const QString high = values.value(1).toString().trimmed();
    if (!low.isEmpty() && !high.isEmpty() &&
        low.rightJustified(13, QLatin1Char(' ')) > high.rightJustified(13, QLatin1Char(' ')))
      return {QStringLiteral("伝票番号の範囲の下限が上限より大きくなっています。"), 0};
    return {};
  };
  return std::make_unique<RecordTable<R>>(QStringLiteral("伝票環境"), QStringLiteral("伝票環境"),
                                          true, fields, access, rule);
}

}  // namespace salehost
