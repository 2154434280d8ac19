#include "main/CleanLog.h"

#include "ui/StdCtrls.h"

TCleanLog::~TCleanLog() {
  try {
    Flush();
  } catch (...) {
    // Out of memory while unwinding: the lines kept are lost, the run's work is not.
  }
}

void TCleanLog::Clear() {
  pending_.clear();
  memo_.Lines().Clear();
}

void TCleanLog::FlushIfDue() {
  if (pending_.empty()) return;
  if (TClock::now() - lastEnd_ < lastCost_ * kCostShare) return;
  Flush();
}

void TCleanLog::Flush() {
  if (pending_.empty()) return;
  const TClock::time_point start = TClock::now();
  memo_.Lines().AddLines(pending_);
  pending_.clear();
  lastEnd_ = TClock::now();
  lastCost_ = lastEnd_ - start;
}
