#include "foundation/win/WinHUD.h"

#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UUString.h"

#include <cstring>
#include <new>

namespace {

constexpr int kLineHeight = 16;

const AFWindowClass kHUDWindowClass = {
    CS_OWNDC,
    0,
    0,
    true,
    MAKEINTRESOURCEA(1),
    nullptr,
    false,
    IDC_ARROW,
    reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_MENU + 1)),
    nullptr,
    "WinHUD",
    AFWindowProc};

const AFWindowDescription kHUDWindowDescription = {&kHUDWindowClass,    30, 30, 130, 130,
                                                   WS_OVERLAPPEDWINDOW, 0};

const UURegistryLocation kHUDPlacement = {"Software\\Corvane Software\\VPL3D\\1.0\\HUD",
                                          HKEY_CURRENT_USER};

void DrawFigure(HDC dc, int line, const char* format, int32_t value) {
  char text[kUUStringCapacity];
  UUFormatString(text, format, static_cast<int>(value));
  TextOutA(dc, 0, line * kLineHeight, text, static_cast<int>(std::strlen(text)));
}

}  // namespace

HUDWindow::HUDWindow(const AFWindowDescription& description, const UURegistryLocation& location,
                     WinHUD* hud)
    : Window(description, location, false, false), mHUD(hud) {}

HUDWindow::~HUDWindow() { mHUD->mWindow = nullptr; }

bool HUDWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(GetHandle(), &paint);
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetTextColor(dc, RGB(255, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  DrawFigure(dc, 0, "FPS: %3d", mHUD->GetFramesPerSecond());
  DrawFigure(dc, 1, "%% render time: %3d", mHUD->GetPercentRenderTime());
  DrawFigure(dc, 2, "Polygons out: %3d", mHUD->GetPolygonCount());
  EndPaint(GetHandle(), &paint);
  return true;
}

WinHUD::WinHUD() {
  void* memory = ALAllocate(sizeof(HUDWindow), ALGlobalAllocator, kALMayFail);
  if (memory == nullptr) return;
  mWindow = new (memory) HUDWindow(kHUDWindowDescription, kHUDPlacement, this);
  mWindow->SetTitle("VPL3D HUD");
  mWindow->SetVisibleIfChanged(true);
}

WinHUD::~WinHUD() {
  if (mWindow == nullptr) return;
  mWindow->Detach();
  delete mWindow;  // clears mWindow
}

void WinHUD::Refresh() {
  if (mWindow != nullptr) InvalidateRect(mWindow->GetHandle(), nullptr, TRUE);
}
