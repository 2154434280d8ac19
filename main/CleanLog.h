#pragma once
#include <chrono>
#include <string>
#include <vector>

class TMemo;

// The clean run's log in the memo. An edit control's work for every append grows with the text it
// already holds, so a log written line by line makes a long run quadratic. Lines are kept here and
// handed over in one append when the run lets messages run, once at least kCostShare times what
// the last hand-over took has passed since it ended: the log's share of the run then stays small
// however long the log grows, and the user still watches it grow. Whatever is kept reaches the
// memo when the log is flushed or destroyed, so a run that stops part-way still shows its lines.
class TCleanLog {
public:
  static constexpr double kCostShare = 10;

  explicit TCleanLog(TMemo& memo) : memo_(memo) {}
  TCleanLog(const TCleanLog&) = delete;
  TCleanLog& operator=(const TCleanLog&) = delete;
  ~TCleanLog();

  // Empties the memo and what is kept.
  void Clear();
  void Add(std::wstring line) { pending_.push_back(std::move(line)); }
  // Hands the kept lines over when it is time to.
  void FlushIfDue();
  void Flush();

private:
  using TClock = std::chrono::steady_clock;
  TMemo& memo_;
  std::vector<std::wstring> pending_;
  TClock::time_point lastEnd_ = TClock::now();
  TClock::duration lastCost_{};
};
