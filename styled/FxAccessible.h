#pragma once
#include <windows.h>

// What a screen reader learns about a styled control: its window's standard accessible object
// (location, parent, navigation), refined with the control's own name, role, states and
// default action. The answer looks the control up by its window at every call, so an object
// that a reader keeps after the control is gone answers "not connected" instead of touching it.
//
// Answers WM_GETOBJECT for the client object of window; 0 when the object cannot be made (the
// system's standard answer then applies).
LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam);
