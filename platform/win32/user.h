#pragma once
// Windows, messages and message boxes: the user services the system calls.

#include "platform/win32/kernel.h"

using HWND = struct HWND__*;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;

struct POINT {
  LONG x;
  LONG y;
};
using LPPOINT = POINT*;

// Left and top inside, right and bottom outside.
struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
using LPRECT = RECT*;

struct SIZE {
  LONG cx;
  LONG cy;
};
using LPSIZE = SIZE*;

// Device contexts belong to GDI (gdi.h); windows hand them out.
using HDC = struct HDC__*;
// GDI objects that window classes and control colour messages carry.
using HBRUSH = struct HBRUSH__*;
using HPALETTE = struct HPALETTE__*;
using COLORREF = DWORD;

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
using LPMSG = MSG*;

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

constexpr DWORD ERROR_INVALID_THREAD_ID = 1444;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;

// ---- Message queues ------------------------------------------------------
// Every thread has its own queue, made at its first message call. Posted
// messages come out in order; WM_QUIT comes out once the queue holds no
// other message.

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

// Kinds of queued messages, for the filters of PeekMessageA and the wake
// mask of MsgWaitForMultipleObjects.
constexpr UINT QS_KEY = 0x0001;
constexpr UINT QS_MOUSEMOVE = 0x0002;
constexpr UINT QS_MOUSEBUTTON = 0x0004;
constexpr UINT QS_POSTMESSAGE = 0x0008;
constexpr UINT QS_TIMER = 0x0010;
constexpr UINT QS_PAINT = 0x0020;
constexpr UINT QS_SENDMESSAGE = 0x0040;
constexpr UINT QS_HOTKEY = 0x0080;
constexpr UINT QS_MOUSE = QS_MOUSEMOVE | QS_MOUSEBUTTON;
constexpr UINT QS_INPUT = QS_MOUSE | QS_KEY;
constexpr UINT QS_ALLEVENTS = QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY;
constexpr UINT QS_ALLINPUT = QS_ALLEVENTS | QS_SENDMESSAGE;
// With one or more of these in its remove flags, PeekMessageA handles only
// those kinds: sent messages are run only with PM_QS_SENDMESSAGE, and
// WM_QUIT counts as a posted message.
constexpr UINT PM_QS_INPUT = QS_INPUT << 16;
constexpr UINT PM_QS_POSTMESSAGE = (QS_POSTMESSAGE | QS_HOTKEY | QS_TIMER) << 16;
constexpr UINT PM_QS_PAINT = QS_PAINT << 16;
constexpr UINT PM_QS_SENDMESSAGE = QS_SENDMESSAGE << 16;

BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
// Waits for a message; answers 0 for WM_QUIT, -1 on failure, else nonzero.
BOOL GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageA(const MSG* message);
// Waits until a message arrives that the thread has not yet seen.
BOOL WaitMessage();
// Waits until a message arrives that the thread has not yet seen, or the
// time runs out: WAIT_OBJECT_0 or WAIT_TIMEOUT. Only messages are waited
// for (the program passes no handles; a count other than 0 fails with
// ERROR_INVALID_PARAMETER), and any new message wakes the wait, whatever
// the wake mask.
DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                DWORD milliseconds, DWORD wakeMask);

// ---- Message boxes -------------------------------------------------------
// A real box when a display exists; otherwise the caption and text go to
// standard error and the box answers at once (see testhooks.h).

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
// Accepted: the box blocks the calling thread as every box does.
constexpr UINT MB_SYSTEMMODAL = 0x00001000;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONMASK = 0x000000F0;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDRETRY = 4;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// ---- System error texts ----------------------------------------------------

constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;

// Writes the system's text for an error code; answers its length, or 0 when
// the system has no text for the code.
DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPSTR buffer,
                     DWORD size, void* arguments);

// ---- Windows -------------------------------------------------------------
// Top-level windows are desktop windows (their frames are drawn by the
// desktop outside the client area, so a window rectangle equals its client
// rectangle); child windows are rectangles inside their parent's client
// area. A window belongs to the thread that created it: messages sent to it
// from another thread run on that thread inside its own message calls.

using HICON = struct HICON__*;
using HCURSOR = struct HCURSOR__*;
using HMENU = struct HMENU__*;
using HACCEL = struct HACCEL__*;
using SHORT = int16_t;
using USHORT = uint16_t;
using LPBYTE = BYTE*;

using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
using TIMERPROC = void (*)(HWND window, UINT message, UINT_PTR id, DWORD time);
using WNDENUMPROC = BOOL (*)(HWND window, LPARAM parameter);

constexpr WORD LOWORD(DWORD_PTR value) { return static_cast<WORD>(value & 0xFFFF); }
constexpr WORD HIWORD(DWORD_PTR value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }
constexpr DWORD MAKELONG(WORD low, WORD high) {
  return static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
}
constexpr WPARAM MAKEWPARAM(WORD low, WORD high) { return MAKELONG(low, high); }
constexpr LPARAM MAKELPARAM(WORD low, WORD high) {
  return static_cast<LPARAM>(MAKELONG(low, high));
}
// Signed coordinates packed in an lParam.
constexpr int GET_X_LPARAM(LPARAM value) {
  return static_cast<int16_t>(LOWORD(static_cast<DWORD_PTR>(value)));
}
constexpr int GET_Y_LPARAM(LPARAM value) {
  return static_cast<int16_t>(HIWORD(static_cast<DWORD_PTR>(value)));
}
// A resource named by a 16-bit id instead of a text.
inline LPSTR MAKEINTRESOURCEA(WORD id) {
  return reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(id));
}
inline bool IS_INTRESOURCE(LPCSTR name) { return (reinterpret_cast<ULONG_PTR>(name) >> 16) == 0; }

constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
constexpr DWORD ERROR_CLASS_DOES_NOT_EXIST = 1411;
constexpr DWORD ERROR_CLASS_HAS_WINDOWS = 1412;
constexpr DWORD ERROR_CANNOT_FIND_WND_CLASS = 1407;
constexpr DWORD ERROR_INVALID_MENU_HANDLE = 1401;
constexpr DWORD ERROR_INVALID_ACCEL_HANDLE = 1403;
constexpr DWORD ERROR_TLW_WITH_WSCHILD = 1406;
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;

// Messages.
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_GETMINMAXINFO = 0x0024;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_NCCREATE = 0x0081;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_GETDLGCODE = 0x0087;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCHAR = 0x0106;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;
constexpr UINT WM_INITMENU = 0x0116;
constexpr UINT WM_CTLCOLORMSGBOX = 0x0132;
constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
constexpr UINT WM_CTLCOLORBTN = 0x0135;
constexpr UINT WM_CTLCOLORDLG = 0x0136;
constexpr UINT WM_CTLCOLORSCROLLBAR = 0x0137;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSEFIRST = WM_MOUSEMOVE;
constexpr UINT WM_MOUSELAST = WM_MBUTTONDBLCLK;
constexpr UINT WM_KEYFIRST = WM_KEYDOWN;
constexpr UINT WM_KEYLAST = 0x0108;
constexpr UINT WM_CAPTURECHANGED = 0x0215;
constexpr UINT WM_QUERYNEWPALETTE = 0x030F;
constexpr UINT WM_PALETTECHANGED = 0x0311;

// WM_ACTIVATE states (low word of wParam; the high word is 1 when minimised).
constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;
constexpr WORD WA_CLICKACTIVE = 2;
// WM_SIZE kinds.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;
// WM_SYSCOMMAND commands.
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_RESTORE = 0xF120;
// Key and button state flags of mouse messages.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

// Virtual keys (letters and digits are their upper-case characters).
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_NUMPAD0 = 0x60;
constexpr int VK_MULTIPLY = 0x6A;
constexpr int VK_ADD = 0x6B;
constexpr int VK_SUBTRACT = 0x6D;
constexpr int VK_DECIMAL = 0x6E;
constexpr int VK_DIVIDE = 0x6F;
constexpr int VK_F1 = 0x70;
constexpr int VK_F12 = 0x7B;
constexpr int VK_OEM_1 = 0xBA;       // ;:
constexpr int VK_OEM_PLUS = 0xBB;    // =+
constexpr int VK_OEM_COMMA = 0xBC;   // ,<
constexpr int VK_OEM_MINUS = 0xBD;   // -_
constexpr int VK_OEM_PERIOD = 0xBE;  // .>
constexpr int VK_OEM_2 = 0xBF;       // /?
constexpr int VK_OEM_3 = 0xC0;       // `~
constexpr int VK_OEM_4 = 0xDB;       // [{
constexpr int VK_OEM_5 = 0xDC;       // \|
constexpr int VK_OEM_6 = 0xDD;       // ]}
constexpr int VK_OEM_7 = 0xDE;       // '"

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

struct WNDCLASSEXA {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
};
struct WNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};

struct CREATESTRUCTA {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
};

struct MINMAXINFO {
  POINT ptReserved;
  POINT ptMaxSize;
  POINT ptMaxPosition;
  POINT ptMinTrackSize;
  POINT ptMaxTrackSize;
};

// The header of every WM_NOTIFY.
struct NMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};
using LPNMHDR = NMHDR*;

// Registers a class for the module; fails with ERROR_CLASS_ALREADY_EXISTS.
// A class named like a system class hides it until it is unregistered,
// which fails with ERROR_CLASS_HAS_WINDOWS while windows of it exist.
ATOM RegisterClassExA(const WNDCLASSEXA* windowClass);
ATOM RegisterClassA(const WNDCLASSA* windowClass);
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
// Answers a registered class (system classes whatever the instance).
BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* windowClass);
BOOL GetClassInfoExA(HINSTANCE instance, LPCSTR className, WNDCLASSEXA* windowClass);
int GetClassNameA(HWND window, LPSTR buffer, int size);

// Creates the window on the calling thread: WM_NCCREATE and WM_CREATE carry
// the creation parameter; either may refuse, and then null is answered.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID parameter);
// Only the owning thread may destroy a window; WM_DESTROY goes to the window
// and then its children, WM_NCDESTROY to the children and then the window.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId);

// Window long values. GWL_USERDATA and DWL_USER hold pointers here.
constexpr int GWLP_WNDPROC = -4;
constexpr int GWLP_HINSTANCE = -6;
constexpr int GWLP_HWNDPARENT = -8;
constexpr int GWLP_ID = -12;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWLP_USERDATA = -21;
constexpr int GWL_USERDATA = GWLP_USERDATA;
constexpr int GWL_WNDPROC = GWLP_WNDPROC;
constexpr int DWLP_USER = 16;
constexpr int DWL_USER = DWLP_USER;
// Dialog windows keep the extra bytes they need for DWL_USER.
constexpr int DLGWINDOWEXTRA = 24;

LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value);
LONG_PTR GetWindowLongPtrA(HWND window, int index);
LONG SetWindowLongA(HWND window, int index, LONG value);
LONG GetWindowLongA(HWND window, int index);
// Calls a procedure as the window's own would be called.
LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The default answers: painting validates, WM_CLOSE destroys, SC_CLOSE
// closes, activation focuses the window, texts are kept.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Properties by name or by atom (a name made with MAKEINTRESOURCEA).
BOOL SetPropA(HWND window, LPCSTR name, HANDLE value);
HANDLE GetPropA(HWND window, LPCSTR name);
HANDLE RemovePropA(HWND window, LPCSTR name);

BOOL SetWindowTextA(HWND window, LPCSTR text);
int GetWindowTextA(HWND window, LPSTR buffer, int size);
int GetWindowTextLengthA(HWND window);

// A top-level window by class and title (either may be null), topmost first.
HWND FindWindowA(LPCSTR className, LPCSTR windowName);
HWND GetParent(HWND window);
HWND GetDesktopWindow();

constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;
// Walks the window order: siblings from top to bottom, the first child on top.
HWND GetWindow(HWND window, UINT command);
// Children and their children, top of the order first.
BOOL EnumChildWindows(HWND parent, WNDENUMPROC procedure, LPARAM parameter);
// The thread's top-level windows.
BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC procedure, LPARAM parameter);
BOOL IsChild(HWND parent, HWND window);

// ---- Window state and geometry -------------------------------------------

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;

// Answers whether the window was visible before. Showing a top-level window
// activates it unless the command says otherwise; a window of another
// thread is shown by its own thread while the caller waits.
BOOL ShowWindow(HWND window, int command);
BOOL IsWindowVisible(HWND window);
BOOL IsIconic(HWND window);
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);

#define HWND_TOP (reinterpret_cast<HWND>(0))
#define HWND_BOTTOM (reinterpret_cast<HWND>(1))
#define HWND_TOPMOST (reinterpret_cast<HWND>(-1))
#define HWND_NOTOPMOST (reinterpret_cast<HWND>(-2))

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOCOPYBITS = 0x0100;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;
constexpr UINT SWP_NOSENDCHANGING = 0x0400;

// Moves, sizes and orders a window; WM_MOVE and WM_SIZE report changes.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND window);
// The window rectangle in screen coordinates.
BOOL GetWindowRect(HWND window, LPRECT rect);
// The client rectangle: 0, 0, width, height.
BOOL GetClientRect(HWND window, LPRECT rect);
BOOL ScreenToClient(HWND window, LPPOINT point);
BOOL ClientToScreen(HWND window, LPPOINT point);
// Maps points between client areas (null: the screen); answers the offset
// packed as two 16-bit values.
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);
// Window rectangles equal client rectangles here: the rectangle is kept.
BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL hasMenu, DWORD exStyle);

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
BOOL SetRectEmpty(LPRECT rect);
BOOL IsRectEmpty(const RECT* rect);
BOOL PtInRect(const RECT* rect, POINT point);
BOOL IntersectRect(LPRECT destination, const RECT* a, const RECT* b);
BOOL UnionRect(LPRECT destination, const RECT* a, const RECT* b);
BOOL OffsetRect(LPRECT rect, int dx, int dy);
BOOL EqualRect(const RECT* a, const RECT* b);

// ---- Painting ------------------------------------------------------------
// A visible window with an invalid area gets WM_PAINT once its queue holds
// nothing else; BeginPaint hands out its device context and EndPaint
// validates and shows the pixels.

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

// Null invalidates the whole client area (and the children it covers).
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase);
// Sends WM_PAINT at once when the window has an invalid area.
BOOL UpdateWindow(HWND window);
HDC BeginPaint(HWND window, LPPAINTSTRUCT paint);
// A device context on the window's client area; windows of CS_OWNDC classes
// answer the same one each time and ReleaseDC leaves it. A null window
// gives the screen's: it answers the desktop's capabilities, and what is
// drawn on it is not shown (the desktop is not the program's to draw on).
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

// System colours: the plain light scheme of the desktop. A class background
// may name one as its index + 1 instead of a brush.
constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_APPWORKSPACE = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_BTNHIGHLIGHT = 20;
DWORD GetSysColor(int index);
// Stock brushes of the system colours; never deleted.
HBRUSH GetSysColorBrush(int index);

// ---- Messages to windows --------------------------------------------------

// To a window of another thread: waits until that thread has handled it,
// handling the messages sent to the caller meanwhile.
// Answers a message sent by another thread before its handling ends: the
// sender goes on at once. False when the message was not sent by another
// thread or was answered already.
BOOL ReplyMessage(LRESULT result);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// To a window of another thread: queued there, without waiting.
BOOL SendNotifyMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The time of the last message the thread took from its queue.
LONG GetMessageTime();
// The cursor position of the last message the thread took from its queue.
DWORD GetMessagePos();

// WM_TIMER comes once the queue holds nothing else; a timer of a null window
// gets a new id. Answers 0 on failure.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure);
BOOL KillTimer(HWND window, UINT_PTR id);

// ---- Input ------------------------------------------------------------------
// Focus, the active window, capture and the key state are shared by threads
// whose input is attached.

HWND SetFocus(HWND window);
HWND GetFocus();
HWND SetActiveWindow(HWND window);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND window);
HWND GetForegroundWindow();
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();
// High bit: the key is down; low bit: it is toggled.
SHORT GetKeyState(int virtualKey);
SHORT GetAsyncKeyState(int virtualKey);
BOOL GetCursorPos(LPPOINT point);
BOOL AttachThreadInput(DWORD attachThreadId, DWORD toThreadId, BOOL attach);

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CYVSCROLL = 20;
constexpr int SM_CXHSCROLL = 21;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_MOUSEPRESENT = 19;
// Screen size, scroll-bar sizes, double-click distances; 0 for the rest.
int GetSystemMetrics(int index);

// ---- Menus -------------------------------------------------------------------

constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;

HMENU CreateMenu();
BOOL DestroyMenu(HMENU menu);
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text);
HMENU GetMenu(HWND window);
BOOL SetMenu(HWND window, HMENU menu);
// The item's state flags, or (UINT)-1 when the menu has no such item.
UINT GetMenuState(HMENU menu, UINT id, UINT flags);
// Answer the previous state, or (DWORD)-1 when there is no such item.
DWORD CheckMenuItem(HMENU menu, UINT id, UINT check);
BOOL EnableMenuItem(HMENU menu, UINT id, UINT enable);

// ---- Accelerators ----------------------------------------------------------

constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct ACCEL {
  BYTE fVirt;
  WORD key;
  WORD cmd;
};
using LPACCEL = ACCEL*;

// The program's module holds no accelerator resources: null with
// ERROR_RESOURCE_NAME_NOT_FOUND.
HACCEL LoadAcceleratorsA(HINSTANCE instance, LPCSTR name);
HACCEL CreateAcceleratorTableA(LPACCEL entries, int count);
BOOL DestroyAcceleratorTable(HACCEL table);
// A key message that matches an entry becomes WM_COMMAND (high word 1) sent
// to the window; answers whether it did.
int TranslateAcceleratorA(HWND window, HACCEL table, LPMSG message);

// ---- Cursors and icons -------------------------------------------------------

#define IDC_ARROW (MAKEINTRESOURCEA(32512))
#define IDC_IBEAM (MAKEINTRESOURCEA(32513))
#define IDC_WAIT (MAKEINTRESOURCEA(32514))
#define IDI_APPLICATION (MAKEINTRESOURCEA(32512))

// The system's cursors and icons (null instance); the program's module
// holds the cursor "emptyCursor.cur" and icon 1, any other name answers null.
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HICON LoadIconA(HINSTANCE instance, LPCSTR name);

// ---- String resources ----------------------------------------------------
// The program's string table is compiled in; module null or the program's.

// Copies the text of id (taken modulo 65536) cut to size - 1 characters and
// answers its length; 0 and an empty buffer when the table has no such id.
int LoadStringA(HINSTANCE module, UINT id, LPSTR buffer, int size);

// ---- Display settings ------------------------------------------------------
// A mode change is recorded, never applied to the user's monitor: while a
// full-screen mode is recorded, a shown top-level window whose client area
// has the mode's size fills the screen with its picture scaled.

constexpr DWORD DM_BITSPERPEL = 0x00040000;
constexpr DWORD DM_PELSWIDTH = 0x00080000;
constexpr DWORD DM_PELSHEIGHT = 0x00100000;
constexpr DWORD CDS_FULLSCREEN = 0x00000004;
constexpr LONG DISP_CHANGE_SUCCESSFUL = 0;
constexpr LONG DISP_CHANGE_RESTART = 1;
constexpr LONG DISP_CHANGE_FAILED = -1;
constexpr LONG DISP_CHANGE_BADMODE = -2;
constexpr LONG DISP_CHANGE_BADFLAGS = -4;

// The display's and the printers' settings in one record (148 bytes);
// print.h says which printer fields printers honour.
struct DEVMODEA {
  BYTE dmDeviceName[32];
  WORD dmSpecVersion;
  WORD dmDriverVersion;
  WORD dmSize;
  WORD dmDriverExtra;
  DWORD dmFields;
  SHORT dmOrientation;
  SHORT dmPaperSize;
  SHORT dmPaperLength;
  SHORT dmPaperWidth;
  SHORT dmScale;
  SHORT dmCopies;
  SHORT dmDefaultSource;
  SHORT dmPrintQuality;
  SHORT dmColor;
  SHORT dmDuplex;
  SHORT dmYResolution;
  SHORT dmTTOption;
  SHORT dmCollate;
  BYTE dmFormName[32];
  WORD dmLogPixels;
  DWORD dmBitsPerPel;
  DWORD dmPelsWidth;
  DWORD dmPelsHeight;
  DWORD dmDisplayFlags;
  DWORD dmDisplayFrequency;
  DWORD dmICMMethod;
  DWORD dmICMIntent;
  DWORD dmMediaType;
  DWORD dmDitherType;
  DWORD dmReserved1;
  DWORD dmReserved2;
};

// Null: back to the registry's mode. A mode of 8, 16, 24 or 32 bits per
// pixel no larger than the screen is recorded; any other is BADMODE.
LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags);

// ---- Stage input ------------------------------------------------------------

constexpr UINT WM_IME_CHAR = 0x0286;
constexpr int VK_HELP = 0x2F;

// The direct child of parent whose rectangle holds the point (parent's
// client coordinates), skipping what the flags say; parent itself when no
// child holds it; null when the point lies outside parent.
constexpr UINT CWP_ALL = 0x0000;
constexpr UINT CWP_SKIPINVISIBLE = 0x0001;
constexpr UINT CWP_SKIPDISABLED = 0x0002;
HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags);
// Minimises a top-level window; OpenIcon restores a minimised one.
BOOL CloseWindow(HWND window);
BOOL OpenIcon(HWND window);

// ---- The cursor shown ------------------------------------------------------
// Cursors are the system's (arrow, I-beam, wait) or made from cursor files;
// a null cursor hides the pointer over the program's windows.

// Answers the previous cursor.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

constexpr DWORD ERROR_INVALID_DATA = 13;
// The first picture of a cursor file (.cur) or animated cursor (.ani);
// null with ERROR_FILE_NOT_FOUND, or ERROR_INVALID_DATA for a damaged file.
HCURSOR LoadCursorFromFileA(LPCSTR fileName);
// Cursors made from files; false for the system's.
BOOL DestroyCursor(HCURSOR cursor);

// ---- Dialogs -------------------------------------------------------------------
// Dialogs are made from the module's dialog templates; the program's module
// holds none, so a dialog cannot be made (-1, ERROR_RESOURCE_NAME_NOT_FOUND).

using INT_PTR = intptr_t;
using DLGPROC = INT_PTR (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure,
                        LPARAM parameter);
// Fails for a window that is not a running dialog.
BOOL EndDialog(HWND dialog, INT_PTR result);

// ---- System controls -------------------------------------------------------------
// "BUTTON", "EDIT", "STATIC" and "SCROLLBAR" are found by every thread. They
// keep their state, draw themselves plainly and tell their parent what the
// user did: WM_COMMAND (control id and code in wParam, the control in
// lParam) and, for scroll bars, WM_HSCROLL or WM_VSCROLL.

// Buttons: push button, check box and radio button; clicking an automatic
// one checks it (a radio button unchecks the others of its group).
constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
constexpr DWORD BS_TYPEMASK = 0x000F;
constexpr DWORD BS_NOTIFY = 0x4000;
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr WPARAM BST_UNCHECKED = 0;
constexpr WPARAM BST_CHECKED = 1;
constexpr WORD BN_CLICKED = 0;

// Edit fields: one line, typed into while focused; EN_CHANGE after each
// change of the text.
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;
constexpr WORD EN_CHANGE = 0x0300;

// Static texts: one line, on the brush the parent answers to
// WM_CTLCOLORSTATIC (none: the parent's pixels stay).
constexpr DWORD SS_LEFTNOWORDWRAP = 0x000C;
constexpr DWORD SS_NOPREFIX = 0x0080;

// Scroll bars: arrows, track and thumb. The bar reports the user's requests;
// its position changes only when told (SBM_SETPOS, SetScrollInfo).
constexpr DWORD SBS_HORZ = 0x0000;
constexpr DWORD SBS_VERT = 0x0001;
constexpr DWORD SBS_RIGHTALIGN = 0x0004;
constexpr UINT SBM_SETPOS = 0x00E0;
constexpr UINT SBM_GETPOS = 0x00E1;
constexpr UINT SBM_SETSCROLLINFO = 0x00E9;
constexpr UINT SBM_GETSCROLLINFO = 0x00EA;
constexpr WORD SB_LINEUP = 0;
constexpr WORD SB_LINEDOWN = 1;
constexpr WORD SB_PAGEUP = 2;
constexpr WORD SB_PAGEDOWN = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_ENDSCROLL = 8;
constexpr int SB_CTL = 2;
constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS;

struct SCROLLINFO {
  UINT cbSize;
  UINT fMask;
  int nMin;
  int nMax;
  UINT nPage;
  int nPos;
  int nTrackPos;
};
using LPSCROLLINFO = SCROLLINFO*;

// SB_CTL only: the window is the scroll-bar control. Answers the position.
int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw);
BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info);
