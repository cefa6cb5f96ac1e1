#pragma once
// The window system's calls the Win32 backend makes, in plain types. The framework's own headers
// and the system's <windows.h> define the same names differently, so the backend's files reach the
// system through this header, and only the bridge files include <windows.h> (User32Bridge.h), one
// a subsystem: windows and dialogs, text and code pages, the message loop and clocks, accessibility,
// message boxes, icons, painting and menus. Text is UTF-8 here and UTF-16 at the system's calls;
// handles are the system's, carried as opaque pointers. Win32 only: on Qt the toolkit is the bridge.

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>
#include <string_view>

namespace w32 {

using Handle = void*;
using Word = std::uintptr_t;
using Long = std::intptr_t;

// Every message of a routed window goes here first; it hands what it does not handle itself to
// CallSuper. Set once, before the first window.
using Router = Long (*)(Handle window, unsigned message, Word wParam, Long lParam);
void SetRouter(Router router);

// Starts the common controls; false when they are not there.
bool StartWindowSystem();
// While `fine`, the system's timer runs at 1 ms and calls `everyMillisecond` each millisecond, on a
// thread of the system's; the whole system's timer rate rises with it, so it is asked only while a
// short period needs it.
void FineTimer(bool fine, void (*everyMillisecond)());
// One timer of the calling thread's, with no window: `fire` is called once, about `ms` from now
// (the system rounds up to its own tick), from whatever loop hands out the thread's messages.
// Setting it again replaces the time and the call.
void SetThreadTimer(unsigned ms, void (*fire)());
void KillThreadTimer();

// Whether the calling thread is the one that started the window system and runs its loop.
bool IsWindowThread();
// A window that is never shown and only receives messages; its messages are routed.
Handle CreateMessageWindow();
// Routes the messages of an existing window (a dialog, a control) from now on; once is enough.
void Route(Handle window);
// The window's own procedure: the system's for the window's class.
Long CallSuper(Handle window, unsigned message, Word wParam, Long lParam);
bool Destroy(Handle window);
bool IsWindow(Handle window);
unsigned RegisterMessage(const wchar_t* name);

Long Send(Handle window, unsigned message, Word wParam = 0, Long lParam = 0);
bool Post(Handle window, unsigned message, Word wParam = 0, Long lParam = 0);
// The system's own timer of a window: WM_TIMER with `id` after about `ms` (at least 10 ms).
void SetWindowTimer(Handle window, Word id, unsigned ms);
void KillWindowTimer(Handle window, Word id);
// UTF-8 as UTF-16, each ill-formed part shown as one U+FFFD.
std::wstring Utf16(std::string_view text);
// Sends `message` with the text as a UTF-16 string in lParam.
Long SendText(Handle window, unsigned message, Word wParam, std::string_view text);
// Reads a string by a message that fills a UTF-16 buffer, after one that tells its length.
std::string ReceiveText(Handle window, unsigned lengthMessage, unsigned textMessage, Word wParam);

// Replaces an edit box's selection with `text`. The box's limit is on what the user types; the
// system's box would cut the program's text at it too, so it is lifted for the change.
void ReplaceSelection(Handle box, const std::wstring& text, bool canUndo);
// Whether the window is an edit box of several lines.
bool IsMultiLine(Handle box);

// A window's text; an edit box's in the system's code page (the program's data: what the user
// types goes out as those bytes), any other window's in UTF-8 (the program's own texts).
std::string GetText(Handle window);
void SetText(Handle window, std::string_view text);
bool IsEditBox(Handle window);
// Bytes in the system's code page as an edit box shows them.
std::wstring FromCodePage(std::string_view bytes);
// Where the characters of bytes in the system's code page end: the number of leading bytes that end
// on a character boundary, given that the next bytes could complete a character the last began.
// Null when the system's code page is UTF-8.
using CharacterBoundary = std::size_t (*)(const char* data, std::size_t length);
CharacterBoundary CodePageBoundary();

// Returns whether the window was disabled before.
bool Enable(Handle window, bool enable);
bool IsEnabled(Handle window);
bool IsVisible(Handle window);
// Whether a scrolling window shows the last line of what it scrolls (always, when all of it fits).
bool ShowsLastLine(Handle window);
bool IsIconic(Handle window);
bool IsChild(Handle window);
void Show(Handle window, bool show);
void Activate(Handle window);
Handle Focus();
Handle SetFocus(Handle window);
Handle ActiveWindow();
// The nearest top-level window of `window` (itself when it is one).
Handle TopLevel(Handle window);
// The window containing a child window; null for a top-level window.
Handle Parent(Handle window);
Handle Owner(Handle window);
Handle DlgItem(Handle dialog, int id);
int DlgCtrlId(Handle window);
// Gives each window the name screen readers read for it, through the accessibility layer's
// annotations; false where the layer does not take them.
bool AnnotateNames(const std::vector<std::pair<Handle, std::string_view>>& names);
// A window's children, in the window order (the order Tab follows among those that take it).
std::vector<Handle> Children(Handle window);
// Moves `window` just before `next` in the window order of their parent.
void PlaceBefore(Handle window, Handle next);
// A rectangle in `dialog`'s units, in its pixels.
void MapDialogUnits(Handle dialog, long* left, long* top, long* right, long* bottom);
void ClientSize(Handle window, long* width, long* height);
// A child window's rectangle in its parent's client area.
void ChildRect(Handle window, long* left, long* top, long* right, long* bottom);
// The thread's top-level windows on screen.
int VisibleTopLevelWindows();
unsigned SetErrorMode(unsigned mode);
// A message box of the system's own that the window thread shows, or null; from any thread.
Handle ShownSystemMessageBox();
// Centres a top-level window over `over`, or on its screen when `over` is null.
struct Rect {
    long left;
    long top;
    long right;
    long bottom;
};
// Where a window `width` by `height` goes, given its owner's rectangle and the work area of the
// owner's monitor.
using Placer = void (*)(const Rect& over, long width, long height, const Rect& work, long* x, long* y);
// Moves the window over its owner (or the primary monitor's work area, without one) as `place` says.
void CentreOver(Handle window, Handle over, Placer place);
// Puts a child window beneath its siblings, so that it never covers one.
void Lower(Handle window);
Handle CreateChild(const wchar_t* className, std::uint32_t style, int x, int y, int width, int height, Handle parent,
                   int id);

// A static text that is never shown, whose text screen readers take as the name of the control after it.
Handle CreateHiddenLabel(Handle parent, std::string_view text);
void FocusFirstTabStop(Handle dialog);
// A dialog from an in-memory extended template, owned by `owner`, routed from its first message.
Handle CreateDialogFromTemplate(const void* dialogTemplate, Handle owner);

// The message loop. Waits up to `timeoutMs` for a message (or returns at once when one waits).
void WaitForMessages(int timeoutMs);
// Delivers up to `most` of the messages waiting now and returns how many; key messages go through
// `keyDialog`'s dialog handling (Tab, Enter, Esc) after `preTranslate` has had its say. Posted
// messages come in the order they were posted, but input and painting never wait behind them for
// more than a few milliseconds, however fast they come.
using PreTranslate = bool (*)(Handle window, unsigned message, Word wParam, Long lParam);
int DispatchWaiting(Handle keyDialog, PreTranslate preTranslate, int most);
bool KeyDown(int virtualKey);
// A left click in the middle of `window` as the mouse makes it, through the system's input queue;
// false when the system refused it.
bool ClickWithMouse(Handle window);

int ShowMessageBox(Handle owner, std::string_view text, std::string_view caption, unsigned type);
void Beep(unsigned type);
// The system's help engine, asked for the topic with context number `context` of `helpFile`;
// false when it could not be started.
bool ShowHelpTopic(Handle owner, std::string_view helpFile, unsigned long context);

// Icon group `id` of the program's own resources at the system's standard icon size, as a shared
// icon the system keeps (never destroyed); null when the program has none.
Handle LoadProgramIcon(unsigned id);
// The image of a resource icon's own group that is `width` by `height` pixels, as a new icon;
// null when the icon is no resource icon or has no such image.
Handle IconImageOfSize(Handle icon, int width, int height);
int SystemMetric(int index);

// Painting inside the window's paint message.
struct Paint;
Paint* BeginPaint(Handle window);
Handle PaintDc(Paint* paint);
bool DrawIcon(Paint* paint, int x, int y, Handle icon);
void EndPaint(Paint* paint);

// The window's system menu: back to the system's items, then `extra` items appended.
struct MenuItem {
    unsigned flags;
    std::uintptr_t id;
    std::string text;
};
// Resets the window's system menu to the system's own items, then appends `extra`.
void SetSystemMenu(Handle window, std::span<const MenuItem> extra);
// Appends `extra` to the window's system menu as it is.
void AppendSystemMenu(Handle window, std::span<const MenuItem> extra);
// The items of the window's system menu, as the system shows them.
std::vector<MenuItem> SystemMenuItems(Handle window);

std::string ModulePath();
// The current time on a monotonic clock of sub-microsecond resolution.
std::int64_t NowNs();

// Message numbers and codes of the standard and common controls.
namespace msg {
inline constexpr unsigned Paint = 0x000F;
inline constexpr unsigned EraseBackground = 0x0014;
inline constexpr unsigned SetCursor = 0x0020;
inline constexpr unsigned NcHitTest = 0x0084;
inline constexpr unsigned NcPaint = 0x0085;
inline constexpr unsigned NcMouseMove = 0x00A0;
inline constexpr unsigned Timer = 0x0113;
inline constexpr unsigned MouseMove = 0x0200;
inline constexpr unsigned MouseHover = 0x02A1;
inline constexpr unsigned MouseLeave = 0x02A3;
inline constexpr unsigned SetIcon = 0x0080;
inline constexpr unsigned GetIcon = 0x007F;
inline constexpr unsigned InitMenu = 0x0116;
inline constexpr unsigned NcDestroy = 0x0082;
inline constexpr unsigned Command = 0x0111;
inline constexpr unsigned KeyDown = 0x0100;
inline constexpr unsigned SysKeyDown = 0x0104;
inline constexpr unsigned BmGetCheck = 0x00F0;
inline constexpr unsigned BmSetCheck = 0x00F1;
inline constexpr unsigned BmClick = 0x00F5;
inline constexpr unsigned EmGetSel = 0x00B0;
inline constexpr unsigned EmSetSel = 0x00B1;
inline constexpr unsigned EmScrollCaret = 0x00B7;
inline constexpr unsigned EmReplaceSel = 0x00C2;
inline constexpr unsigned EmSetLimitText = 0x00C5;
inline constexpr unsigned EmGetLimitText = 0x00D5;
inline constexpr unsigned EmGetFirstVisibleLine = 0x00CE;
inline constexpr unsigned EmLineScroll = 0x00B6;
inline constexpr unsigned GetText = 0x000D;
inline constexpr unsigned GetTextLength = 0x000E;
inline constexpr unsigned VScroll = 0x0115;
inline constexpr unsigned SbBottom = 7;
inline constexpr unsigned CbAddString = 0x0143;
inline constexpr unsigned CbGetCount = 0x0146;
inline constexpr unsigned CbGetCurSel = 0x0147;
inline constexpr unsigned CbGetLbText = 0x0148;
inline constexpr unsigned CbGetLbTextLen = 0x0149;
inline constexpr unsigned CbSetCurSel = 0x014E;
inline constexpr unsigned UdmGetBuddy = 0x0400 + 106;
inline constexpr unsigned UdmSetBuddy = 0x0400 + 105;
inline constexpr unsigned UdmSetRange32 = 0x0400 + 111;
inline constexpr unsigned UdmGetRange32 = 0x0400 + 112;
inline constexpr unsigned UdmSetPos32 = 0x0400 + 113;
inline constexpr unsigned IpmSetAddress = 0x0400 + 101;
inline constexpr unsigned IpmGetAddress = 0x0400 + 102;
inline constexpr unsigned SbSetText = 0x0400 + 11;
inline constexpr unsigned SbGetText = 0x0400 + 13;
inline constexpr unsigned SbGetTextLength = 0x0400 + 12;
inline constexpr unsigned SbSetParts = 0x0400 + 4;
inline constexpr unsigned SbGetParts = 0x0400 + 6;
inline constexpr unsigned SbSetMinHeight = 0x0400 + 8;
}  // namespace msg

}  // namespace w32
