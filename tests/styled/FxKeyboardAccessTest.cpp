#include "FreedMemoryTrap.h"
#include "styled/FxButton.h"
#include "styled/FxCheckBox.h"
#include "styled/FxPanel.h"

#include "TestHost.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

// A window like the program's first page: a panel of check boxes, then buttons.
struct TPage {
  TTestForm form;
  TFxPanel* panel = form.Make<TFxPanel>();
  TFxCheckBox* first = form.Make<TFxCheckBox>();
  TFxCheckBox* second = form.Make<TFxCheckBox>();
  TFxCheckBox* disabled = form.Make<TFxCheckBox>();
  TFxButton* find = form.Make<TFxButton>();
  TFxButton* exit = form.Make<TFxButton>();
  std::vector<std::wstring> clicks;

  TPage() {
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 300, 100);
    int top = 20;
    for (TFxCheckBox* box : {first, second, disabled}) {
      box->SetParent(panel);
      box->SetTop(top += 17);
    }
    first->SetCaption(L"Temporary files");
    second->SetCaption(L"Recycle Bin");
    disabled->SetEnabled(false);
    find->SetParent(&form);
    find->SetBounds(7, 110, 75, 25);
    find->SetCaption(L"Find");
    exit->SetParent(&form);
    exit->SetBounds(85, 110, 75, 25);
    exit->SetCaption(L"Exit");
    for (TWinControl* c : std::initializer_list<TWinControl*>{first, second, find, exit})
      c->OnClick = [this, c](TObject*) { clicks.push_back(c->Caption()); };
  }
};

using TClicks = std::vector<std::wstring>;

using TSpoiltWhenFreed = TUnreadableWhenFreed<TFxButton>;

struct TComScope {
  TComScope() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~TComScope() { ::CoUninitialize(); }
};

struct TAccessible {
  IAccessible* object = nullptr;
  explicit TAccessible(TWinControl& control) {
    ::AccessibleObjectFromWindow(control.Handle(), OBJID_CLIENT, IID_IAccessible,
                                 reinterpret_cast<void**>(&object));
  }
  ~TAccessible() {
    if (object) object->Release();
  }
  static VARIANT Self() {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
  }
  std::wstring Name() const {
    BSTR name = nullptr;
    if (FAILED(object->get_accName(Self(), &name)) || !name) return L"";
    std::wstring text(name, ::SysStringLen(name));
    ::SysFreeString(name);
    return text;
  }
  LONG Long(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) const {
    VARIANT v;
    ::VariantInit(&v);
    if (FAILED((object->*get)(Self(), &v)) || v.vt != VT_I4) return -1;
    return v.lVal;
  }
  LONG Role() const { return Long(&IAccessible::get_accRole); }
  LONG State() const { return Long(&IAccessible::get_accState); }
};

} // namespace

TEST(FxKeyboardTest, TabRunsThroughCheckBoxesAndButtonsInOrder) {
  TPage page;
  page.first->SetFocus();
  std::vector<TWinControl*> visited;
  for (int i = 0; i < 5; ++i) {
    TypeKey(VK_TAB);
    visited.push_back(TWinControl::FromHandle(::GetFocus()));
  }
  EXPECT_EQ(visited,
            (std::vector<TWinControl*>{page.second, page.find, page.exit, page.first, page.second}))
      << "the panel and the disabled box are passed by";
}

TEST(FxKeyboardTest, SpaceEnterAndEscapeClickAsWindowsDoes) {
  TPage page;
  page.first->SetFocus();
  TypeKey(VK_SPACE);
  EXPECT_TRUE(page.first->Checked()) << "Space toggled it and raised OnClick";
  EXPECT_EQ(page.clicks, TClicks{L"Temporary files"});
  TypeKey(VK_RETURN);
  EXPECT_EQ(page.clicks.size(), 1u) << "Enter with no Default button clicks nothing";

  page.find->SetDefault(true);
  page.exit->SetCancel(true);
  TypeKey(VK_RETURN);
  TypeKey(VK_ESCAPE);
  EXPECT_EQ(page.clicks, (TClicks{L"Temporary files", L"Find", L"Exit"}));

  page.clicks.clear();
  page.exit->SetFocus();
  TypeKey(VK_RETURN); // the focused button, before the Default one
  TypeKey(VK_SPACE);
  EXPECT_EQ(page.clicks, (TClicks{L"Exit", L"Exit"}));

  page.clicks.clear();
  page.find->SetEnabled(false);
  page.first->SetFocus();
  TypeKey(VK_RETURN);
  EXPECT_TRUE(page.clicks.empty()) << "a Default button that cannot take the focus stays still";
}

// Fault mended: a click whose handler frees the window ("Exit") must not come back to the
// freed button, whether the click came from the mouse, Space or Enter.
TEST(FxButtonFaultTest, ClickThatFreesTheParentNeverTouchesTheButton) {
  enum { kMouse, kSpace, kEnter };
  for (int how : {kMouse, kSpace, kEnter}) {
    auto* form = new TTestForm;
    auto* button = form->Make<TSpoiltWhenFreed>();
    button->SetParent(form);
    int clicks = 0;
    button->OnClick = [&](TObject*) {
      ++clicks;
      delete form;
    };
    HWND window = button->Handle();
    if (how == kMouse) {
      ClickWithMouse(*button);
    } else {
      button->SetFocus();
      TypeKey(how == kSpace ? VK_SPACE : VK_RETURN);
    }
    EXPECT_EQ(clicks, 1) << how;
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(TSpoiltWhenFreed::Graveyard().size(), 1u);
    TSpoiltWhenFreed::Bury();
  }
}

TEST(FxAccessibleTest, ScreenReaderReadsNameRoleAndStates) {
  TComScope com;
  TPage page;
  TAccessible box(*page.first), button(*page.find);
  ASSERT_TRUE(box.object && button.object);
  EXPECT_EQ(box.Name(), L"Temporary files");
  EXPECT_EQ(box.Role(), ROLE_SYSTEM_CHECKBUTTON);
  EXPECT_EQ(button.Name(), L"Find");
  EXPECT_EQ(button.Role(), ROLE_SYSTEM_PUSHBUTTON);

  EXPECT_FALSE(box.State() & STATE_SYSTEM_CHECKED);
  ClickWithMouse(*page.first);
  EXPECT_TRUE(box.State() & STATE_SYSTEM_CHECKED);
  EXPECT_TRUE(box.State() & STATE_SYSTEM_FOCUSED) << "a click takes the focus";
  EXPECT_FALSE(button.State() & STATE_SYSTEM_FOCUSED);
  EXPECT_TRUE(button.State() & STATE_SYSTEM_FOCUSABLE);
  page.find->SetEnabled(false);
  EXPECT_TRUE(button.State() & STATE_SYSTEM_UNAVAILABLE);

  // The default action clicks, from the message queue.
  EXPECT_EQ(box.object->accDoDefaultAction(TAccessible::Self()), S_OK);
  Application().ProcessMessages();
  EXPECT_FALSE(page.first->Checked());

  TAccessible kept(*page.second);
  ASSERT_TRUE(kept.object);
  page.form.RemoveComponent(page.second).reset();
  EXPECT_EQ(kept.Name(), L"") << "an object kept after the control went answers nothing";
}

// Fault mended: only the click was safe. Any event whose handler frees the window (the
// control with it) must leave the control untouched afterwards, and its window's message
// must not reach the default procedure of a window that is gone.
TEST(FxButtonFaultTest, AnyEventThatFreesTheParentNeverTouchesTheButton) {
  const struct {
    const char* what;
    std::function<void(TFxButton&, const std::function<void()>&)> hang;
    std::function<void(TFxButton&)> raise;
  } events[] = {
      {"mouse down",
       [](TFxButton& b, const std::function<void()>& free) {
         b.OnMouseDown = [free](TObject*, TMouseButton, TShiftState, int, int) { free(); };
       },
       [](TFxButton& b) { SendMouse(b, WM_LBUTTONDOWN); }},
      {"mouse enter",
       [](TFxButton& b, const std::function<void()>& free) {
         b.OnMouseEnter = [free](TObject*) { free(); };
       },
       [](TFxButton& b) { SendMouse(b, WM_MOUSEMOVE); }},
      {"mouse leave",
       [](TFxButton& b, const std::function<void()>& free) {
         b.OnMouseLeave = [free](TObject*) { free(); };
       },
       [](TFxButton& b) {
         SendMouse(b, WM_MOUSEMOVE);
         SendMouse(b, WM_MOUSELEAVE);
       }},
      {"mouse up",
       [](TFxButton& b, const std::function<void()>& free) {
         b.OnMouseUp = [free](TObject*, TMouseButton, TShiftState, int, int) { free(); };
       },
       [](TFxButton& b) {
         SendMouse(b, WM_LBUTTONDOWN);
         SendMouse(b, WM_LBUTTONUP);
       }},
      {"double click",
       [](TFxButton& b, const std::function<void()>& free) {
         b.OnDblClick = [free](TObject*) { free(); };
       },
       [](TFxButton& b) { SendMouse(b, WM_LBUTTONDBLCLK); }},
      {"key down",
       [](TFxButton& b, const std::function<void()>& free) {
         b.OnKeyDown = [free](TObject*, WORD&, TShiftState) { free(); };
       },
       [](TFxButton& b) { ::SendMessageW(b.Handle(), WM_KEYDOWN, 'A', 0); }},
  };
  for (const auto& event : events) {
    auto* form = new TTestForm;
    auto* button = form->Make<TSpoiltWhenFreed>();
    button->SetParent(form);
    int raised = 0;
    event.hang(*button, [&] {
      ++raised;
      delete form;
    });
    HWND window = button->Handle();
    event.raise(*button);
    EXPECT_EQ(raised, 1) << event.what;
    EXPECT_FALSE(::IsWindow(window)) << event.what;
    EXPECT_EQ(TSpoiltWhenFreed::Graveyard().size(), 1u) << event.what;
    TSpoiltWhenFreed::Bury();
  }
}
