#pragma once
#include "main/CleanerState.h"
#include "main/SelectionSummary.h"
#include "ui/Forms.h"

#include <array>
#include <string>
#include <vector>

class TPageControl;
class TTabSheet;
class TFxPanel;
class TFxCheckBox;
class TFxButton;
class TFxProgressBar;
class TVxGrid;
class TLabel;
class TMemo;
class TTimer;
class TPopupMenu;
class TMenuItem;
class TImageList;
class TSystemServices;

// Shown when "Find" or "Next" is pressed while another run holds the run lock.
inline constexpr const wchar_t* kAnotherRunText =
    L"Another Varnox run is scanning or cleaning. Try again when it has finished.";

// The folder part of a file's path: everything before its last backslash, a drive root keeping
// its backslash ("C:\\a.txt" gives "C:\\").
std::wstring FolderOfPath(const std::wstring& path);

// The program's one window: four pages with hidden tabs that the buttons step through like a
// wizard. Page 0 picks the kinds of junk, page 1 lists what "Find" found, page 2 shows the log
// of "Next", page 3 is never shown.
class TForm1 : public TForm {
public:
  TForm1(TComponent* owner, TSystemServices& services);

  // Components of the layout, owned by the form.
  TPageControl* PageControl1 = nullptr;
  TTabSheet* TabSheet1 = nullptr;
  TTabSheet* TabSheet2 = nullptr;
  TTabSheet* TabSheet3 = nullptr;
  TTabSheet* TabSheet4 = nullptr;
  TWinControl* Panel4 = nullptr;
  TFxPanel* FxPanel1 = nullptr;
  TFxPanel* FxPanel2 = nullptr;
  TFxPanel* FxPanel3 = nullptr;
  TFxPanel* FxPanel4 = nullptr;
  TFxPanel* FxPanel5 = nullptr;
  TFxPanel* FxPanel6 = nullptr;
  // FxCheckBox1 to FxCheckBox10 at index 0 to 9; FxCheckBox10 is Microsoft Edge's.
  std::array<TFxCheckBox*, 10> FxCheckBoxes{};
  TFxButton* FxButton1 = nullptr;
  TFxButton* FxButton2 = nullptr;
  TFxButton* FxButton3 = nullptr;
  TFxButton* FxButton4 = nullptr;
  TFxButton* FxButton5 = nullptr;
  TVxGrid* VxGrid1 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TFxProgressBar* FxProgressBar1 = nullptr;
  TFxProgressBar* FxProgressBar2 = nullptr;
  TMemo* Memo1 = nullptr;
  TTimer* Timer1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* Exprorefilefolder1 = nullptr;
  TMenuItem* Openthefile1 = nullptr;
  TImageList* Imagelist = nullptr;
  TImageList* TabImageList = nullptr;

  // The handlers of the window's events.
  void FormCreate(TObject* Sender);
  void FxButton1Click(TObject* Sender);
  void FxButton2Click(TObject* Sender);
  void FxButton3Click(TObject* Sender);
  void FxButton4Click(TObject* Sender);
  void FxButton5Click(TObject* Sender);
  void VxGrid1CheckChanged(TObject* Sender, int ACol, int ARow);
  void FormResize(TObject* Sender);
  void Timer1Timer(TObject* Sender);
  void Exprorefilefolder1Click(TObject* Sender);
  void Openthefile1Click(TObject* Sender);

  // Ticks exactly the kinds that a "/kinds=" command line names (see KindsArgument.h); any other
  // command line leaves the boxes as the layout set them.
  void ApplyCommandLine(const std::wstring& commandLine);

  TCleanerState& State() { return state_; }
  // A scan or a clean run is going on.
  bool Busy() const { return state_.Busy; }
  // The page shown.
  int ActivePageIndex() const;

protected:
  void LayoutForDpi() override;

private:
  // Builds every component of the window and sets its properties (MainLayout.cpp).
  void CreateLayout();
  // Puts a control where the layout has it, given in pixels at 96 DPI, and keeps that so that
  // LayoutForDpi can place it again for another DPI. For an aligned control only the length
  // that its alignment keeps counts: the height of alTop and alBottom, the width of alRight.
  void Place(TWinControl* control, int left, int top, int width, int height);
  void ApplyPlacement(const RECT& designBounds, TWinControl& control);
  void CreateTypesPage();
  void CreateFoundFilesPage();
  void CreateDeletedFilesPage();
  TFxPanel* MakePanel(const wchar_t* name, TWinControl* parent, TAlign align, int height,
                      const std::wstring& caption);
  TFxButton* MakeButton(const wchar_t* name, TWinControl* parent, int left, int top,
                        const std::wstring& caption, const wchar_t* glyph,
                        void (TForm1::*click)(TObject*));
  TLabel* MakeBarLabel(const wchar_t* name, TWinControl* parent, TAlign align, int size);
  TFxProgressBar* MakeProgressBar(const wchar_t* name, TWinControl* parent);

  void SetFormCaption(const std::string& caption);
  void MovePage(bool forward);
  // Disables the buttons that would start, leave or repeat a run, until the run returns.
  void SetRunButtonsEnabled(bool enabled);
  // Runs a scan or a clean run with the buttons held off; a close asked for meanwhile is
  // carried out once the run has stopped.
  template <typename TRun> void RunGuarded(TRun& run);
  void CloseQuery(bool& canClose);
  void OpenSelected(bool folder);
  // Brings "Selected" and the parent totals up to date; passes over the rows only when they
  // changed since the last pass.
  void ShowSelectionSummary();
  // After a scan that met folders closed to the user: offers to start again with administrator
  // rights and the same kinds ticked, and closes this window once that one has started.
  void OfferElevatedRestart(const std::wstring& deniedNote);

  struct TPlacement {
    TWinControl* Control;
    RECT Bounds; // left, top, width, height at 96 DPI
  };
  std::vector<TPlacement> placements_;
  TSystemServices& services_;
  TCleanerState state_;
  bool closeAfterRun_ = false;
  bool summaryRunning_ = false;
  TSelectionSummary summary_;
};
