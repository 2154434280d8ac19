#pragma once
#include <cstdint>
#include <functional>
#include <new>
#include <string>

class TWinControl;
class TFxProgressBar;

// The scan's status line and progress bar, and the moments at which the scan lets pending window
// messages run.
//
// The walks report every entry (status text, bar position), but setting a label's text costs more
// than enumerating a dozen entries and a pass through the message queue costs several, so the
// reports are kept here and reach the controls right before messages run and when the outermost
// walk returns. Messages run once at least kMessageInterval has passed since they last ran, as
// soon as the clock is next read: after at most a few entries or one tick of the system's coarse
// clock, whichever comes first.
// Whatever a repaint, a timer event or a click sees is therefore exactly what a per-entry update
// would show at that moment, and the window never waits longer than the interval plus the handling
// of a few small entries, or of one that outlasts a tick.
class TScanProgress {
public:
  static constexpr double kMessageInterval = 0.015; // seconds

  // label is the status line (its Caption); processMessages lets every pending window message run
  // (the application's ProcessMessages).
  TScanProgress(TWinControl& label, TFxProgressBar& bar, std::function<void()> processMessages);
  TScanProgress(const TScanProgress&) = delete;
  TScanProgress& operator=(const TScanProgress&) = delete;

  // Kept until the next Flush.
  void SetStatus(std::wstring text);
  // The same for prefix followed by text, written into the text kept, whose room is reused: the
  // search reports every file so.
  void SetStatus(const wchar_t* prefix, const std::wstring& text);
  void SetPosition(uint64_t position);

  // These reach the bar at once, after what is kept, so that they apply in the order given.
  void SetPositionNow(uint64_t position);
  void SetMax(uint64_t max);
  void SetPositionToMax();
  void SetStatusNow(std::wstring text);

  // Runs pending messages when the interval has passed since they last ran.
  void LetMessagesRun();
  // Brings the label and the bar up to date with what was reported.
  void Flush();

  // Brackets one walk; the outermost one flushes when it ends, also through an error.
  class TWalkScope {
  public:
    explicit TWalkScope(TScanProgress& progress) : progress_(progress) { ++progress_.depth_; }
    TWalkScope(const TWalkScope&) = delete;
    TWalkScope& operator=(const TWalkScope&) = delete;
    ~TWalkScope() {
      if (--progress_.depth_ > 0) return;
      // Also reached while an error unwinds, memory running out among them: a status text that
      // cannot be written now must not end the program, and whoever handles the error writes
      // its own.
      try {
        progress_.Flush();
      } catch (const std::bad_alloc&) {
      }
    }

  private:
    TScanProgress& progress_;
  };

private:
  static int ClampToInt(uint64_t value);
  int64_t Now() const;

  TWinControl& label_;
  TFxProgressBar& bar_;
  std::function<void()> processMessages_;
  std::wstring status_;
  bool statusPending_ = false;
  int position_ = 0;
  bool positionPending_ = false;
  int depth_ = 0;
  int64_t frequency_ = 1;
  int64_t lastRun_ = 0;
  static constexpr int kEntriesPerClockRead = 8;
  int entriesUnclocked_ = 0;
  unsigned long lastTick_ = 0;
};
