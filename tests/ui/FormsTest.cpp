#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/Forms.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

TEST(FormTest, CentredOnTheDesktopWithTheClientSizeAsked) {
  TForm form(nullptr);
  form.SetCaption(L"Varnox");
  form.SetBounds(0, 0, 782, 465);
  form.SetPosition(poDesktopCenter);
  EXPECT_FALSE(form.HandleAllocated()) << "a form stays without a window until shown";
  form.Show();
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  int desktopWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  int desktopHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  EXPECT_EQ(form.Left(), GetSystemMetrics(SM_XVIRTUALSCREEN) + (desktopWidth - 782) / 2);
  EXPECT_EQ(form.Top(), GetSystemMetrics(SM_YVIRTUALSCREEN) + (desktopHeight - 465) / 2);
  RECT wr;
  GetWindowRect(form.Handle(), &wr);
  EXPECT_EQ(wr.left, form.Left());
  EXPECT_EQ(wr.right - wr.left, 782);
  wchar_t title[32];
  GetWindowTextW(form.Handle(), title, 32);
  EXPECT_STREQ(title, L"Varnox");

  form.SetClientWidth(300);
  form.SetClientHeight(200);
  EXPECT_EQ(form.ClientWidth(), 300);
  EXPECT_EQ(form.ClientHeight(), 200);

  // Sized by its client area before it has a window, and still centred when shown.
  TForm second(nullptr);
  second.SetPosition(poScreenCenter);
  second.SetClientWidth(400);
  second.SetClientHeight(100);
  EXPECT_FALSE(second.HandleAllocated());
  second.Show();
  EXPECT_EQ(second.ClientWidth(), 400);
  EXPECT_EQ(second.Left(), (GetSystemMetrics(SM_CXSCREEN) - second.Width()) / 2);
  EXPECT_EQ(second.Top(), (GetSystemMetrics(SM_CYSCREEN) - second.Height()) / 2);
}

TEST(FormTest, CreateRunsOnceAtTheEndOfLoadingAndCloseFollowsTheAction) {
  TForm form(nullptr);
  std::vector<std::string> events;
  form.OnCreate = [&](TObject*) { events.push_back("create"); };
  form.BeginLoading();
  auto* child = form.Make<TWinControl>();
  child->SetParent(&form);
  child->SetAlign(alClient);
  EXPECT_TRUE(child->Loading());
  form.EndLoading();
  form.DoCreate();
  EXPECT_EQ(events, std::vector<std::string>{"create"});
  EXPECT_FALSE(child->Loading());
  EXPECT_EQ(child->Width(), form.ClientWidth()) << "laid out when loading ended";

  form.Show();
  form.OnClose = [&](TObject*, TCloseAction& action) {
    events.push_back("close");
    EXPECT_EQ(action, caHide);
    action = caNone;
  };
  PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
  Application().ProcessMessages();
  EXPECT_TRUE(form.Visible()) << "caNone keeps the form";
  form.OnClose = nullptr;
  form.Close();
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

TEST(FormTest, TheMainFormEndsRunWhenClosedOrDestroyedAndIsForgottenWhenFreed) {
  for (bool close : {true, false}) {
    SCOPED_TRACE(close ? "closed" : "window destroyed");
    auto form = std::make_unique<TForm>(nullptr);
    Application().SetMainForm(form.get());
    form->Show();
    HWND h = form->Handle();
    if (close)
      PostMessageW(h, WM_CLOSE, 0, 0);
    else
      DestroyWindow(h);
    Application().Run();
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(form->HandleAllocated());
    // The quit message is consumed by Run, so later pumping is not cut short.
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    form.reset();
    EXPECT_EQ(Application().MainForm(), nullptr);
  }
}

TEST(FormTest, FocusGoesToTheFirstTabStopAndComesBackOnActivation) {
  TForm form(nullptr);
  auto* a = form.Make<TWinControl>();
  auto* b = form.Make<TWinControl>();
  for (auto* c : {a, b}) {
    c->SetParent(&form);
    c->SetTabStop(true);
  }
  form.Show();
  EXPECT_TRUE(a->Focused());
  b->SetFocus();
  EXPECT_EQ(form.ActiveControl(), b);
  SendMessageW(form.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  a->SetFocus();
  SendMessageW(form.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_TRUE(b->Focused());
  // A freed control is forgotten, not focused later.
  SendMessageW(form.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  delete form.RemoveComponent(b).release();
  SendMessageW(form.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_NE(form.ActiveControl(), b);
}

TEST(PageControlTest, HiddenTabsAndMovingBetweenPages) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  auto* pages = form.Make<TPageControl>();
  pages->SetParent(&form);
  pages->SetAlign(alClient);
  std::vector<TTabSheet*> sheets;
  for (const wchar_t* caption :
       {L"Types of cleaning", L"Found files", L"Deleted files", L"About"}) {
    auto* sheet = form.Make<TTabSheet>();
    sheet->SetCaption(caption);
    sheet->SetPageControl(pages);
    sheets.push_back(sheet);
  }
  form.Show();
  EXPECT_EQ(pages->ActivePage(), sheets[0]) << "the first page inserted becomes active";
  EXPECT_EQ(TabCtrl_GetItemCount(pages->Handle()), 4);
  RECT withTabs = pages->DisplayRect();

  for (TTabSheet* s : sheets)
    s->SetTabVisible(false);
  pages->SetActivePageIndex(0);
  EXPECT_EQ(TabCtrl_GetItemCount(pages->Handle()), 0);
  RECT without = pages->DisplayRect();
  EXPECT_LT(without.top, withTabs.top) << "hidden headers give their room to the pages";
  RECT sheetRect = sheets[0]->BoundsRect();
  EXPECT_TRUE(SameRect(sheetRect, without));
  EXPECT_TRUE(IsWindowVisible(sheets[0]->Handle()));
  EXPECT_FALSE(IsWindowVisible(sheets[1]->Handle()));

  std::vector<int> changes;
  pages->OnChange = [&](TObject*) { changes.push_back(pages->ActivePageIndex()); };
  pages->SelectNextPage(true, true);
  EXPECT_EQ(pages->ActivePageIndex(), 0) << "no visible tab: nothing to move to";
  pages->SelectNextPage(true, false);
  pages->SelectNextPage(true, false);
  pages->SelectNextPage(false, false);
  EXPECT_EQ(changes, (std::vector<int>{1, 2, 1}));
  EXPECT_TRUE(IsWindowVisible(sheets[1]->Handle()));
  EXPECT_FALSE(IsWindowVisible(sheets[2]->Handle()));

  bool allow = false;
  pages->OnChanging = [&](TObject*, bool& a) { a = allow; };
  pages->SelectNextPage(true, false);
  EXPECT_EQ(pages->ActivePageIndex(), 1) << "OnChanging refused";

  // A freed page leaves the control.
  delete form.RemoveComponent(sheets[3]).release();
  EXPECT_EQ(pages->PageCount(), 3);
}
