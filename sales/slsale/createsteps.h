#pragma once
// The steps every window of the sales module takes when it is created,
// before it joins the host's MDI area, with what each step needs handed in
// (so the steps run the same with the store or with results given by a
// test). A step left empty is skipped: only the slip entry windows read the
// settings and hold the slip marker.

#include "outside/sl_jet/slrecords.h"

#include <QString>

#include <functional>

class QWidget;

namespace sl {
class CErrMsg;
}

namespace slsale {

// The status a read reports when the host handed no store.
constexpr int kNoStore = -1;

// The marker the slip entry windows hold while a slip can be edited, and
// the box shown when it cannot be held.
inline const QString kSlipMarkerName = QStringLiteral("CheckSelSlip");
inline const QString kSlipMarkerFailedText = QStringLiteral("共有メモリ確保失敗");

struct CreateSteps {
  // 1. The window's buffers; throws std::bad_alloc when memory runs out.
  std::function<void()> allocate;
  // 2. The sales environment and the company record: the store's status
  //    (sl::kSlOk on success).
  std::function<int(sl::S_SELENV&)> readEnvironment;
  std::function<int(sl::S_COMPANY&)> readCompany;
  // 3. Controls, an empty slip and the help topic.
  std::function<void()> build;
  // 4. The slip marker: false when it cannot be held.
  std::function<bool()> holdSlipMarker;
};

// Where the steps put the records they read.
struct CreateRecords {
  sl::S_SELENV environment;
  sl::S_COMPANY company;
};

// Runs the steps in order and stops at the first failure, after its box:
// memory 400 (status 0), environment 500 and company 503 (with the store's
// status), the marker's own text. Boxes go through `errors` (a local one
// when the host handed none) with `boxParent` as parent. True when every
// step succeeded.
bool runCreateSteps(const CreateSteps& steps, CreateRecords& records, sl::CErrMsg* errors,
                    QWidget* boxParent);

}  // namespace slsale
