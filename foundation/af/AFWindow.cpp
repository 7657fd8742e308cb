#include "foundation/af/AFWindow.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "foundation/af/AFApplication.h"
#include "foundation/af/AFControl.h"

namespace {

// The window property that binds a window to its object is named by the
// global atom of this text; while the atom cannot be added, by the text.
constexpr char kBindingName[] = "Corvane ZIZU";
ATOM gBindingAtom = 0;

// The default class's icon, menu and accelerator table share one number.
constexpr WORD kDefaultIconAndMenu = 425;
constexpr int kTitleSize = 256;
constexpr int32_t kLargestClientSize = 30000;
constexpr int kProbeSize = 10;

LPCSTR BindingName() { return gBindingAtom != 0 ? MAKEINTRESOURCEA(gBindingAtom) : kBindingName; }

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

BOOL SendToChild(HWND child, LPARAM message) {
  SendMessageA(child, static_cast<UINT>(message), 0, 0);
  return TRUE;
}

std::vector<HWND> DirectChildren(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

// The non-client width and height the window's frame adds.
SIZE FrameSize(HWND window) {
  RECT probe{0, 0, kProbeSize, kProbeSize};
  AdjustWindowRectEx(&probe, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)),
                     GetMenu(window) != nullptr,
                     static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
  return SIZE{probe.right - probe.left - kProbeSize, probe.bottom - probe.top - kProbeSize};
}

}  // namespace

const AFWindowClass AFDefaultWindowClass = {
    .mStyle = CS_DBLCLKS | CS_OWNDC,
    .mClassExtra = 0,
    .mWindowExtra = 0,
    .mIconFromModule = true,
    .mIconName = MAKEINTRESOURCEA(kDefaultIconAndMenu),
    .mSmallIconName = nullptr,
    .mCursorFromModule = false,
    .mCursorName = IDC_ARROW,
    .mBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_APPWORKSPACE + 1)),
    .mMenuName = MAKEINTRESOURCEA(kDefaultIconAndMenu),
    .mClassName = "AFDefaultWindowClass",
    .mWindowProc = AFWindowProc};

AFWindowDescription AFDefaultWindowDescription = {.mWindowClass = &AFDefaultWindowClass,
                                                  .mLeft = 0,
                                                  .mTop = 0,
                                                  .mRight = 640,
                                                  .mBottom = 480,
                                                  .mStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                                  .mExStyle = 0};

bool AFWindowClass::Register() const {
  WNDCLASSA existing;
  if (GetClassInfoA(Module(), mClassName, &existing)) return true;
  WNDCLASSEXA record{};
  record.cbSize = sizeof(record);
  record.style = mStyle;
  record.lpfnWndProc = mWindowProc;
  record.cbClsExtra = mClassExtra;
  record.cbWndExtra = mWindowExtra;
  record.hInstance = Module();
  HINSTANCE iconModule = mIconFromModule ? Module() : nullptr;
  record.hIcon = mIconName != nullptr ? LoadIconA(iconModule, mIconName) : nullptr;
  record.hIconSm = mSmallIconName != nullptr ? LoadIconA(iconModule, mSmallIconName) : nullptr;
  record.hCursor = LoadCursorA(mCursorFromModule ? Module() : nullptr, mCursorName);
  record.hbrBackground = mBackground;
  record.lpszMenuName = mMenuName;
  record.lpszClassName = mClassName;
  return RegisterClassExA(&record) != 0;
}

AFWindow::AFWindow(const AFWindowDescription& description) {
  const AFWindowClass& windowClass = *description.mWindowClass;
  if (!windowClass.Register()) return;
  RECT rect{description.mLeft, description.mTop, description.mRight, description.mBottom};
  const bool hasMenu = FindResourceA(Module(), windowClass.mMenuName, RT_MENU) != nullptr;
  AdjustWindowRectEx(&rect, description.mStyle, hasMenu, description.mExStyle);
  HWND window = CreateWindowExA(description.mExStyle, windowClass.mClassName, nullptr,
                                description.mStyle, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, nullptr, nullptr, Module(), this);
  if (window == nullptr) return;
  mMenu = GetMenu(window);
  mWindow = window;
  mAccelerators = LoadAcceleratorsA(Module(), windowClass.mMenuName);
}

AFWindow::~AFWindow() {
  if (AFCurrentApplication != nullptr && AFCurrentApplication->GetActiveWindow() == this) {
    AFCurrentApplication->SetActiveWindow(nullptr);
  }
  if (mPaletteHandle != nullptr) {
    // The palette is ours: take it out of our device context before deleting
    // it, so no device context is left holding a deleted palette.
    SelectPalette(GetDC(mWindow), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    DeleteObject(mPaletteHandle);
  }
  if (mWindow == nullptr) return;
  DeleteOwnedControls();
  RemovePropA(mWindow, BindingName());
  GlobalDeleteAtom(gBindingAtom);
  gBindingAtom = GlobalFindAtomA(kBindingName);
  DestroyWindow(mWindow);
}

void AFWindow::DeleteOwnedControls() {
  for (HWND child : DirectChildren(mWindow)) {
    AFControl* control = AFControlFromWindow(child);
    if (control == nullptr || !control->IsDeletedWithOwner()) continue;
    control->Detach();
    delete control;
  }
}

void AFWindow::Detach() {}
bool AFWindow::CanClose() { return true; }
void AFWindow::OnInitMenu() {}
bool AFWindow::OnCommand(uint16_t) { return false; }

AFControl* AFWindow::NextFocusControl(AFControl* from, bool forward) {
  HWND first = GetWindow(mWindow, GW_CHILD);
  if (first == nullptr) return nullptr;
  HWND start = from != nullptr ? from->GetHandle() : nullptr;
  HWND wrap = forward ? first : GetWindow(first, GW_HWNDLAST);
  HWND current = start;
  // Each child is visited once at most, so a walk without a focusable
  // control (or started outside the children) ends.
  const size_t limit = DirectChildren(mWindow).size() + 1;
  for (size_t step = 0; step < limit; ++step) {
    HWND next =
        current != nullptr ? GetWindow(current, forward ? GW_HWNDNEXT : GW_HWNDPREV) : nullptr;
    current = next != nullptr ? next : wrap;
    if (current == start) return nullptr;
    AFControl* control = AFControlFromWindow(current);
    if (control != nullptr && control->AcceptsFocus()) return control;
  }
  return nullptr;
}

void AFWindow::Broadcast(UINT message) {
  if (mWindow != nullptr) EnumChildWindows(mWindow, SendToChild, static_cast<LPARAM>(message));
}

void AFWindow::OnApplicationActivate() { Broadcast(AFWM_APPLICATION_ACTIVATED); }
void AFWindow::OnApplicationDeactivate() { Broadcast(AFWM_APPLICATION_DEACTIVATED); }

void AFWindow::OnActivate() {
  Broadcast(AFWM_WINDOW_ACTIVATED);
  if (IsOwnControl(::GetFocus())) return;
  if (mSavedFocusControl != nullptr) {
    SetFocusControl(mSavedFocusControl);
  } else {
    SetFocus(nullptr);
  }
}

void AFWindow::OnDeactivate() {
  HWND focus = ::GetFocus();
  if (IsOwnControl(focus)) mSavedFocusControl = AFControlFromWindow(focus);
  Broadcast(AFWM_WINDOW_DEACTIVATED);
}

void AFWindow::OnMoveOrSize() { Broadcast(AFWM_WINDOW_MOVED); }
void AFWindow::OnPaletteChanged() { Broadcast(AFWM_PALETTE_CHANGED); }

AFSizeLimits AFWindow::GetSizeLimits() {
  return {.mMinWidth = 0,
          .mMinHeight = 0,
          .mMaxWidth = kLargestClientSize,
          .mMaxHeight = kLargestClientSize};
}

void AFWindow::Show(bool shown) { ShowWindow(mWindow, shown ? SW_SHOW : SW_HIDE); }

bool AFWindow::IsOwnControl(HWND window) const {
  return window != nullptr && mWindow != nullptr && GetParent(window) == mWindow &&
         AFControlFromWindow(window) != nullptr;
}

void AFWindow::ClampMinMaxInfo(MINMAXINFO& info) {
  const AFSizeLimits limits = GetSizeLimits();
  const SIZE frame = FrameSize(mWindow);
  const LONG maxWidth = limits.mMaxWidth + frame.cx;
  const LONG maxHeight = limits.mMaxHeight + frame.cy;
  info.ptMaxSize.x = std::min(info.ptMaxSize.x, maxWidth);
  info.ptMaxSize.y = std::min(info.ptMaxSize.y, maxHeight);
  info.ptMaxTrackSize.x = std::min(info.ptMaxTrackSize.x, maxWidth);
  info.ptMaxTrackSize.y = std::min(info.ptMaxTrackSize.y, maxHeight);
  info.ptMinTrackSize.x = std::max(info.ptMinTrackSize.x, limits.mMinWidth + frame.cx);
  info.ptMinTrackSize.y = std::max(info.ptMinTrackSize.y, limits.mMinHeight + frame.cy);
}

void AFWindow::RealizeOwnPalette(HWND window) {
  ALCriticalSectionLock lock(mPaletteLock);
  HDC dc = GetDC(window);
  HPALETTE previous = SelectPalette(dc, mPaletteHandle, FALSE);
  const UINT changed = RealizePalette(dc);
  if (previous != nullptr) SelectPalette(dc, previous, TRUE);
  RealizePalette(dc);
  if (changed != 0 && changed != GDI_ERROR) InvalidateRect(window, nullptr, TRUE);
}

void AFWindow::Close() {
  if (!CanClose()) return;
  Detach();
  delete this;
  if (AFCurrentApplication != nullptr && AFCurrentApplication->FindFirstWindowObject() == nullptr) {
    AFCurrentApplication->Quit();
  }
}

bool AFWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT& result) {
  switch (message) {
    case WM_MOVE:
      OnMoveOrSize();
      return true;
    case WM_SIZE:
      if (wParam != SIZE_RESTORED && wParam != SIZE_MAXIMIZED) return false;
      OnMoveOrSize();
      return true;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        OnDeactivate();
      } else if (HIWORD(wParam) == 0) {
        if (AFCurrentApplication != nullptr) AFCurrentApplication->SetActiveWindow(this);
        OnActivate();
      }
      return true;
    case WM_CLOSE:
      Close();
      return true;
    case WM_ACTIVATEAPP:
      if (wParam != 0) {
        OnApplicationActivate();
      } else {
        OnApplicationDeactivate();
      }
      return true;
    case WM_GETMINMAXINFO:
      ClampMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
      return true;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      result = SendMessageA(header->hwndFrom, message, wParam, lParam);
      return true;
    }
    case WM_COMMAND:
      if (lParam != 0) {
        SendNotifyMessageA(reinterpret_cast<HWND>(lParam), message, wParam, lParam);
        return true;
      }
      if (HIWORD(wParam) > 1) return false;
      OnCommand(LOWORD(wParam));
      return true;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (reinterpret_cast<HWND>(lParam) == window) return false;
      result = SendMessageA(reinterpret_cast<HWND>(lParam), message, wParam, lParam);
      return true;
    case WM_INITMENU:
      OnInitMenu();
      return true;
    case WM_PALETTECHANGED:
      if (reinterpret_cast<HWND>(wParam) == window) return false;
      [[fallthrough]];
    case WM_QUERYNEWPALETTE:
      if (mPaletteHandle != nullptr) RealizeOwnPalette(window);
      OnPaletteChanged();
      result = 1;
      return true;
    default:
      if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        result = SendMessageA(reinterpret_cast<HWND>(lParam), message, wParam, lParam);
        return true;
      }
      return false;
  }
}

void AFWindow::SetScreenRect(const RECT& rect) {
  const RECT current = GetScreenRect();
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
  if (rect.right - rect.left == current.right - current.left &&
      rect.bottom - rect.top == current.bottom - current.top) {
    flags |= SWP_NOSIZE;
  }
  if (rect.left == current.left && rect.top == current.top) flags |= SWP_NOMOVE;
  RECT adjusted = rect;
  AdjustWindowRectEx(&adjusted, static_cast<DWORD>(GetWindowLongA(mWindow, GWL_STYLE)),
                     GetMenu(mWindow) != nullptr,
                     static_cast<DWORD>(GetWindowLongA(mWindow, GWL_EXSTYLE)));
  SetWindowPos(mWindow, nullptr, adjusted.left, adjusted.top, adjusted.right - adjusted.left,
               adjusted.bottom - adjusted.top, flags);
}

RECT AFWindow::GetScreenRect() const {
  RECT rect = GetClientRect();
  MapWindowPoints(mWindow, nullptr, reinterpret_cast<LPPOINT>(&rect), 2);
  return rect;
}

RECT AFWindow::GetClientRect() const {
  RECT rect{};
  ::GetClientRect(mWindow, &rect);
  return rect;
}

void AFWindow::Invalidate(const RECT* rect) { InvalidateRect(mWindow, rect, FALSE); }
void AFWindow::Validate(const RECT* rect) { ValidateRect(mWindow, rect); }
void AFWindow::Update() { UpdateWindow(mWindow); }

void AFWindow::SetVisibleIfChanged(bool visible) {
  if ((IsWindowVisible(mWindow) != FALSE) != visible) Show(visible);
}

bool AFWindow::IsVisible() const { return IsWindowVisible(mWindow) != FALSE; }
bool AFWindow::IsActive() const { return mWindow != nullptr && ::GetActiveWindow() == mWindow; }
void AFWindow::BringToFront() { SetForegroundWindow(mWindow); }

void AFWindow::SetTopMost(bool topMost) {
  SetWindowPos(mWindow, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool AFWindow::IsTopMost() const {
  return (GetWindowLongA(mWindow, GWL_EXSTYLE) & static_cast<LONG>(WS_EX_TOPMOST)) != 0;
}

void AFWindow::SetTitle(const char* title) { SetWindowTextA(mWindow, title); }

void AFWindow::GetTitle(char* buffer) const {
  if (GetWindowTextA(mWindow, buffer, kTitleSize) == 0) buffer[0] = '\0';
}

void AFWindow::ShowMenu(bool shown) {
  if (IsMenuShown() == shown) return;
  mMenuHidden = !shown;
  SetMenu(mWindow, shown ? mMenu : nullptr);
}

bool AFWindow::MenuItemExists(UINT id) const {
  return GetMenuState(mMenu, id, MF_BYCOMMAND) != static_cast<UINT>(-1);
}

bool AFWindow::IsMenuItemChecked(UINT id) const {
  const UINT state = GetMenuState(mMenu, id, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

void AFWindow::CheckMenuItem(UINT id, bool checked) {
  ::CheckMenuItem(mMenu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void AFWindow::EnableMenuItem(UINT id, bool enabled) {
  ::EnableMenuItem(mMenu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

AFControl* AFWindow::GetFocusControl() const {
  HWND focus = ::GetFocus();
  return IsOwnControl(focus) ? AFControlFromWindow(focus) : nullptr;
}

void AFWindow::SetFocusControl(AFControl* control) {
  if (control == nullptr) {
    SetFocus(nullptr);
    return;
  }
  AFControl* focused = GetFocusControl();
  if (focused == control) return;
  if (focused != nullptr && focused->HasFocus()) focused->OnKillFocus();
  SetFocus(control->GetHandle());
}

void AFWindow::SetPalette(const AFPalette& palette) {
  mPalette = palette;
  ALCriticalSectionLock lock(mPaletteLock);
  HDC dc = GetDC(mWindow);
  AFLogPalette logPalette;
  AFPaletteToLogPalette(mPalette, dc, logPalette);
  HPALETTE created = CreatePalette(logPalette.AsLogPalette());
  if (created != nullptr) {
    SelectPalette(dc, created, FALSE);
    RealizePalette(dc);
    if (mPaletteHandle != nullptr) DeleteObject(mPaletteHandle);
    mPaletteHandle = created;
  }
}

AFWindow* AFWindowGetObject(HWND window) {
  if (gBindingAtom == 0) return nullptr;
  return static_cast<AFWindow*>(GetPropA(window, BindingName()));
}

LRESULT AFWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  AFWindow* object = nullptr;
  if (message == WM_NCCREATE) {
    gBindingAtom = GlobalAddAtomA(kBindingName);
    object = static_cast<AFWindow*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetPropA(window, BindingName(), object);
  } else {
    object = AFWindowGetObject(window);
  }
  LRESULT result = 0;
  if (object != nullptr && object->HandleMessage(window, message, wParam, lParam, result)) {
    return result;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

INT_PTR AFMovableModalDialog::RunModal() {
  HWND owner = nullptr;
  if (AFCurrentApplication != nullptr && AFCurrentApplication->DialogsUseActiveWindow() &&
      AFCurrentApplication->GetActiveWindow() != nullptr) {
    owner = AFCurrentApplication->GetActiveWindow()->GetHandle();
  }
  return RunModal(owner);
}

namespace {

INT_PTR AFDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWL_USER, lParam);
  auto* object = reinterpret_cast<AFMovableModalDialog*>(GetWindowLongPtrA(dialog, DWL_USER));
  return object != nullptr ? object->HandleMessage(dialog, message, wParam, lParam) : 0;
}

}  // namespace

INT_PTR AFMovableModalDialog::RunModal(HWND owner) {
  return DialogBoxParamA(Module(), MAKEINTRESOURCEA(mTemplateId), owner, AFDialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR AFMovableModalDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    EndDialog(dialog, 0);
    return 1;
  }
  return 0;
}

HCURSOR AFLoadCursor(uint16_t id) {
  HRSRC resource = FindResourceA(Module(), MAKEINTRESOURCEA(id), RT_ANICURSOR);
  if (resource == nullptr) return LoadCursorA(Module(), MAKEINTRESOURCEA(id));
  if (LockResource(LoadResource(Module(), resource)) == nullptr) return nullptr;
  // Animated cursors are read from their files beside the program.
  char fileName[32];
  std::snprintf(fileName, sizeof(fileName), "CUR%d.ANI", static_cast<int>(id));
  return LoadCursorFromFileA(fileName);
}
