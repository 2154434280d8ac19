#include "main/MainForm.h"

#include "grid/Grid.h"
#include "main/CleanRun.h"
#include "main/CleaningKinds.h"
#include "main/FoundFilesList.h"
#include "main/KindsArgument.h"
#include "main/ScanRun.h"
#include "main/SelectionSummary.h"
#include "main/SystemServices.h"
#include "styled/FxButton.h"
#include "styled/FxCheckBox.h"
#include "styled/FxProgressBar.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/Numbers.h"
#include "ui/StdCtrls.h"
#include "ui/Timer.h"

std::wstring FolderOfPath(const std::wstring& path) {
  size_t slash = path.rfind(L'\\');
  if (slash == std::wstring::npos) return path;
  // A drive root keeps its backslash: "C:" alone would mean the drive's current folder.
  if (slash == 2 && path[1] == L':') return path.substr(0, 3);
  return path.substr(0, slash);
}

TForm1::TForm1(TComponent* owner, TSystemServices& services) : TForm(owner), services_(services) {
  CreateLayout();
  // The kinds ticked at the last "Find" come back; the layout's ticks stand when none are kept.
  const TTickedBoxes remembered = LoadRememberedKinds(services_);
  for (const TCleaningKind& kind : kCleaningKinds)
    if (kind.Shown) FxCheckBoxes[kind.Box - 1]->SetChecked(remembered[kind.Box]);
}

int TForm1::ActivePageIndex() const {
  return PageControl1->ActivePageIndex();
}

void TForm1::FormCreate(TObject*) {
  for (int i = 0; i < PageControl1->PageCount(); ++i)
    PageControl1->Pages(i)->SetTabVisible(false);
  PageControl1->SetActivePageIndex(0);
}

void TForm1::SetFormCaption(const std::string& caption) {
  SetCaption(AnsiToWide(caption));
}

void TForm1::MovePage(bool forward) {
  PageControl1->SelectNextPage(forward, false);
}

void TForm1::SetRunButtonsEnabled(bool enabled) {
  for (TFxButton* button : {FxButton1, FxButton2, FxButton3, FxButton5})
    button->SetEnabled(enabled);
}

template <typename TRun> void TForm1::RunGuarded(TRun& run) {
  run.SetCaption = [this](const std::string& caption) { SetFormCaption(caption); };
  run.NextPage = [this] { MovePage(true); };
  run.ProcessMessages = [this] {
    Application().ProcessMessages();
    if (state_.StopRequested) throw ERunStopped();
  };
  run.Owner = Handle();

  // Re-enables the buttons and carries out a close that came during the run, on every path.
  struct TRunScope {
    TForm1& form;
    explicit TRunScope(TForm1& f) : form(f) {
      form.state_.StopRequested = false;
      form.SetRunButtonsEnabled(false);
    }
    ~TRunScope() {
      form.state_.StopRequested = false;
      if (form.Destroying()) return;
      form.SetRunButtonsEnabled(true);
      if (!form.closeAfterRun_) return;
      form.closeAfterRun_ = false;
      PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    }
  } scope(*this);
  // Another run, of this window or of the console program, may be working on the same files.
  std::unique_ptr<TRunLock> lock = services_.HoldRunLock();
  if (!lock) {
    services_.ShowMessageBox(Handle(), kAnotherRunText, L"Varnox", MB_OK | MB_ICONINFORMATION);
    return;
  }
  try {
    run.Run();
  } catch (const ERunStopped&) {
    // The user closed the window; what the run did so far stays.
  } catch (const EOutOfMemory& e) {
    // The run has stopped cleanly and its rows or log stay usable; the user must know that they
    // are incomplete.
    services_.ShowMessageBox(Handle(), AnsiToWide(e.what()), L"Varnox", MB_OK | MB_ICONWARNING);
  }
}

void TForm1::CloseQuery(bool& canClose) {
  if (!state_.Busy) return;
  // Closing in the middle of a run: stop it at its next message run, then close.
  state_.StopRequested = true;
  closeAfterRun_ = true;
  canClose = false;
}

void TForm1::FxButton1Click(TObject*) {
  if (state_.Busy) return;
  TTickedBoxes ticked{};
  for (int box = 1; box <= int(FxCheckBoxes.size()); ++box)
    ticked[box] = FxCheckBoxes[box - 1]->Checked();
  // Not being able to remember the choices costs only their return next time.
  StoreRememberedKinds(services_, ticked);
  TScanRun run({services_, *VxGrid1, *Label2, *FxProgressBar1, *Imagelist, state_});
  run.IsCategoryTicked = [this](int box) { return FxCheckBoxes.at(box - 1)->Checked(); };
  summary_.Invalidate();
  RunGuarded(run);
  // What was found, and what "Next" would remove, show as soon as the scan ends.
  if (!Destroying()) ShowSelectionSummary();
  if (!Destroying() && !closeAfterRun_) OfferElevatedRestart(run.DeniedNote());
}

void TForm1::OfferElevatedRestart(const std::wstring& deniedNote) {
  // Nothing denied, or nothing more that administrator rights would open.
  if (deniedNote.empty() || services_.IsElevated()) return;
  if (services_.ShowMessageBox(
          Handle(), deniedNote + L"\n\nRestart Varnox with administrator rights to search them?",
          L"Varnox", MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  std::vector<int> ticked;
  for (size_t i = 0; i < FxCheckBoxes.size(); ++i)
    if (FxCheckBoxes[i]->Checked()) ticked.push_back(int(i) + 1);
  if (services_.RestartElevated(Handle(), KindsArgument(ticked)))
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TForm1::ApplyCommandLine(const std::wstring& commandLine) {
  std::vector<int> boxes;
  if (!ParseKindsArgument(commandLine, boxes)) return;
  for (TFxCheckBox* box : FxCheckBoxes)
    box->SetChecked(false);
  for (int box : boxes)
    FxCheckBoxes[size_t(box - 1)]->SetChecked(true);
}

void TForm1::FxButton2Click(TObject*) {
  if (state_.Busy) return;
  TCleanRun run({services_, *VxGrid1, *Memo1, *FxProgressBar2, *Timer1, state_});
  run.IsRecycleBinTicked = [this] { return FxCheckBoxes[6]->Checked(); };
  RunGuarded(run);
}

void TForm1::FxButton3Click(TObject*) {
  if (state_.Busy) return;
  SetCaption(L"Varnox");
  MovePage(false);
}

void TForm1::FxButton4Click(TObject*) {
  // Posted, so that the button's own click handling has finished before the window goes.
  PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TForm1::FxButton5Click(TObject*) {
  if (state_.Busy) return;
  SetCaption(L"Varnox - Found Files");
  MovePage(false);
  Timer1->SetEnabled(true);
}

void TForm1::VxGrid1CheckChanged(TObject*, int ACol, int ARow) {
  TFoundFilesList list(*VxGrid1, state_);
  if (!list.IsTickColumn(ACol)) return;
  summary_.SubtreeTicked(list, ARow, [&] { list.TickDescendants(ARow); });
  if (summary_.Valid()) Label3->SetCaption(SelectedText(summary_.Selected()));
}

void TForm1::FormResize(TObject*) {
  if (VxGrid1) FitFileNameColumn(*VxGrid1, Width());
}

void TForm1::Timer1Timer(TObject*) {
  ShowSelectionSummary();
}

void TForm1::ShowSelectionSummary() {
  // A summary that lets messages run must not start another, and nothing may leave the timer:
  // an error box here would open again at every tick.
  if (summaryRunning_) return;
  summaryRunning_ = true;
  try {
    // A scan going on is still adding rows: each refresh meanwhile passes over them all.
    if (state_.Busy) summary_.Invalidate();
    TFoundFilesList list(*VxGrid1, state_);
    const uint64_t selected = summary_.Refresh(list);
    if (state_.Busy) summary_.Invalidate();
    Label3->SetCaption(SelectedText(selected));
  } catch (const std::exception&) {
    summary_.Invalidate();
  }
  summaryRunning_ = false;
}

void TForm1::OpenSelected(bool folder) {
  TFoundFilesList list(*VxGrid1, state_);
  int row = VxGrid1->SelectedRow();
  // Only a file row names something on the disk; a heading's caption must never reach the
  // shell, which would look it up in the current folder.
  if (row < 0 || row >= VxGrid1->TotalRows() || !list.IsFileRow(row)) return;
  std::wstring path = list.Path(row);
  services_.ShellOpen(Handle(), folder ? FolderOfPath(path) : path);
}

void TForm1::Exprorefilefolder1Click(TObject*) {
  OpenSelected(true);
}

void TForm1::Openthefile1Click(TObject*) {
  OpenSelected(false);
}
