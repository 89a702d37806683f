// Counting and matching of injected failures.
#include "platform/d3d9/trace/FailurePlan.h"

namespace d3d9::trace {

void FailurePlan::fail(Call call, HRESULT hr, unsigned nth) { rules_.push_back(Rule{call, hr, nth, 0}); }

void FailurePlan::clear() { rules_.clear(); }

HRESULT FailurePlan::next(Call call) {
  HRESULT result = S_OK;
  for (Rule& rule : rules_) {
    if (rule.call != call) continue;
    ++rule.seen;
    if ((rule.nth == 0 || rule.nth == rule.seen) && result == S_OK) result = rule.hr;
  }
  return result;
}

}  // namespace d3d9::trace
