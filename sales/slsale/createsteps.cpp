#include "sales/slsale/createsteps.h"

#include "outside/sl_errmsg/errmsg.h"
#include "outside/sl_jet/seljetaccess.h"

#include <new>

namespace slsale {
namespace {

constexpr long kMemoryError = 400;
constexpr long kEnvironmentError = 500;
constexpr long kCompanyError = 503;

}  // namespace

bool runCreateSteps(const CreateSteps& steps, CreateRecords& records, sl::CErrMsg* errors,
                    QWidget* boxParent) {
  sl::CErrMsg local;
  sl::CErrMsg& box = errors ? *errors : local;
  try {
    if (steps.allocate) steps.allocate();
  } catch (const std::bad_alloc&) {
    box.Disp(0, boxParent, kMemoryError);
    return false;
  }
  if (steps.readEnvironment) {
    const int status = steps.readEnvironment(records.environment);
    if (status != sl::kSlOk) {
      box.Disp(status, boxParent, kEnvironmentError);
      return false;
    }
  }
  if (steps.readCompany) {
    const int status = steps.readCompany(records.company);
    if (status != sl::kSlOk) {
      box.Disp(status, boxParent, kCompanyError);
      return false;
    }
  }
  try {
    if (steps.build) steps.build();
  } catch (const std::bad_alloc&) {
    box.Disp(0, boxParent, kMemoryError);
    return false;
  }
  if (steps.holdSlipMarker && !steps.holdSlipMarker()) {
    box.DispText(kSlipMarkerFailedText, boxParent);
    return false;
  }
  return true;
}

}  // namespace slsale
