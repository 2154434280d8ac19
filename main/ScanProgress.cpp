#include "main/ScanProgress.h"

#include "styled/FxProgressBar.h"
#include "ui/Control.h"

#include <windows.h>

#include <climits>

TScanProgress::TScanProgress(TWinControl& label, TFxProgressBar& bar,
                             std::function<void()> processMessages)
    : label_(label), bar_(bar), processMessages_(std::move(processMessages)) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  frequency_ = frequency.QuadPart;
  lastRun_ = Now();
}

int64_t TScanProgress::Now() const {
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

// The bar counts in 32-bit integers; a position beyond them is the bar's top anyway.
int TScanProgress::ClampToInt(uint64_t value) {
  return value > uint64_t(INT_MAX) ? INT_MAX : static_cast<int>(value);
}

void TScanProgress::SetStatus(std::wstring text) {
  status_ = std::move(text);
  statusPending_ = true;
}

void TScanProgress::SetStatus(const wchar_t* prefix, const std::wstring& text) {
  status_.assign(prefix).append(text);
  statusPending_ = true;
}

void TScanProgress::SetPosition(uint64_t position) {
  position_ = ClampToInt(position);
  positionPending_ = true;
}

void TScanProgress::SetPositionNow(uint64_t position) {
  SetPosition(position);
  Flush();
}

void TScanProgress::SetMax(uint64_t max) {
  Flush();
  bar_.SetMax(ClampToInt(max));
}

void TScanProgress::SetPositionToMax() {
  SetPositionNow(uint64_t(bar_.Max()));
}

void TScanProgress::SetStatusNow(std::wstring text) {
  SetStatus(std::move(text));
  Flush();
}

void TScanProgress::LetMessagesRun() {
  // Reading the performance counter can cost a system call (a third of a microsecond under
  // Wine), more than a small entry's own work. The coarse tick count costs next to nothing and
  // moves within one of its periods, at once after an entry that outlasts one: the counter is
  // read when it has moved, or after a few entries, which take far less than a period.
  const DWORD tick = ::GetTickCount();
  if (++entriesUnclocked_ < kEntriesPerClockRead && tick == lastTick_) return;
  entriesUnclocked_ = 0;
  lastTick_ = tick;
  if (Now() - lastRun_ < static_cast<int64_t>(kMessageInterval * frequency_)) return;
  Flush();
  if (processMessages_) processMessages_();
  // Counted from the end of the run, so that a slow handler does not eat the scan's share.
  lastRun_ = Now();
}

void TScanProgress::Flush() {
  if (statusPending_) {
    statusPending_ = false;
    label_.SetCaption(status_);
  }
  if (positionPending_) {
    positionPending_ = false;
    // The bar repaints on every write; most reports between two flushes leave it where it is.
    if (bar_.Position() != position_) bar_.SetPosition(position_);
  }
}
