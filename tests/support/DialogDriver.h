#pragma once
// Drives a real dialog: the script runs inside the dialog's own modal loop, the way a person would
// act on it, and sees every message box through a hook that answers it. The acts a person does
// (clicking, typing, pressing keys) go through the window system of the build's backend.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/Dialog.h"
#include "framework/MessageBox.h"

namespace test {

// Runs `dialog` modally with `script` inside its loop and returns DoModal's result: what the script
// made the dialog end with, or kLeftOpen when the script left it running.
inline constexpr int kLeftOpen = -100;
int RunDialog(CDialog& dialog, const std::function<void()>& script);

// Records every message box shown while it lives, and answers each with OK. `whileOpen`, when set,
// runs while a box is "open", as the box's own message loop would deliver messages.
class MessageBoxes {
public:
    MessageBoxes();
    ~MessageBoxes();
    std::vector<afx::MessageBoxRequest> shown;
    std::function<void()> whileOpen;
    std::vector<std::string> Texts() const;
};

// Lets the window system show its own message boxes while it lives, as a user meets them. When
// one opens, `atOpen` runs, then `look` `lookAfterMs` later, both from outside the program's
// handlers (another thread on Win32) as a peer or a screen reader acts; then the box is answered
// with its default button.
class SystemMessageBoxes {
public:
    SystemMessageBoxes(std::function<void()> atOpen, int lookAfterMs, std::function<void()> look);
    ~SystemMessageBoxes();
    SystemMessageBoxes(const SystemMessageBoxes&) = delete;
    SystemMessageBoxes& operator=(const SystemMessageBoxes&) = delete;
    int Answered() const;

private:
    struct Watch;
    std::unique_ptr<Watch> m_watch;
};

// Counts the ticks of a window timer of its own, to tell whether the loop keeps delivering them.
class TickCounter {
public:
    explicit TickCounter(UINT periodMs);
    ~TickCounter();
    TickCounter(const TickCounter&) = delete;
    TickCounter& operator=(const TickCounter&) = delete;
    // Stops the timer and returns the ticks counted.
    int Stop();

private:
    class Window;
    std::unique_ptr<Window> m_window;
};

// Runs `act` once on the next dialog of the program that runs over `under` (a modal box), from inside
// that dialog's own loop, once it is on screen; gives up after three seconds.
void WhenADialogOpensOver(const CDialog& under, std::function<void(CDialog&)> act);
// Calls `tick` every few milliseconds from whatever loop runs, until it returns true.
void EveryFewMs(std::function<bool()> tick);

// Whether the window is the active one, which takes the keyboard.
bool IsActiveWindow(const CWnd& window);
// Clicks button `id` of `dialog` as the mouse would; a test failure when it is missing or disabled.
void Click(const CWnd& dialog, int id);

// A mouse click on button `id` of `dialog` as the window system delivers one: it takes its turn
// among the events the loop handles, and takes effect when the loop gets to it.
void InjectClick(const CWnd& dialog, int id);

enum class Key { Return, Escape, Tab, Up, Down, F1, F4, Space, Break };
enum Modifier { kNoModifier = 0, kShift = 1, kControl = 2, kAlt = 4 };
// A key pressed and released on the control that has the focus, as the keyboard would.
void PressKey(Key key, int modifiers = kNoModifier);
// UTF-8 text typed into the control that has the focus, one character after another.
void TypeText(const std::string& text);

// Sets a control's text from outside the program's own code and thread, as a screen reader or
// another program does; returns once the control has it.
void SetTextFromOutside(const CWnd& control, const std::string& text);

// A control's text as another program reads it; from any thread.
std::string TextFromOutside(const CWnd& control);

// The name a screen reader reads for a control, through the system's accessibility layer.
std::string AccessibleName(const CWnd& control);
// Whether the system's accessibility layer takes names the program gives its controls outright, as
// Qt's and Windows' do (Wine's does not); where it does not, a control is named only by the label
// before it, and a combo box or an address field by its content.
bool AccessibleNamesGivenAreTaken();
// An edit field's selection (start, end; equal for a bare caret), and setting it as the user does.
std::pair<int, int> Selection(const CWnd& control);
void Select(const CWnd& control, int start, int end);
// A control's place in its dialog's client area, in pixels.
RECT ControlRect(const CWnd& control);
// Top-level windows of the program on screen.
int VisibleTopLevelWindows();
// Bytes as a box shows them and the program reads them back: decoded, invalid ones too, as the
// window system decodes the encoding the boxes take (the system's code page on Windows, UTF-8
// elsewhere).
std::string DecodedAsTheBoxShows(const std::string& bytes);
// UTF-8 text in the encoding the boxes take, as the system encodes it.
std::string EncodedForTheBoxes(const std::string& utf8);
// The characters a control shows, in UTF-8, whatever encoding the program reads them in.
std::string ShownCharacters(const CWnd& control);
// A character that takes more than one byte in the encoding the boxes take; empty when every
// character takes one.
std::string AMultiByteCharacter();

// Readies the backend for running headless; before the platform is made.
void PrepareBackend();

}  // namespace test
