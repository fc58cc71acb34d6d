// The application object: one per process. It owns the message loop, knows the forms,
// and offers the waits that pump messages (ProcessMessages) that the program uses while
// it waits for the clipboard and for paste steps.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/outermost_work.h"

namespace gui {

class Form;

class Application {
 public:
  static Application& Instance();

  // Common controls, OLE, the default font. Call once before creating forms.
  void Initialize();
  void SetTitle(std::u16string title) { title_ = std::move(title); }
  const std::u16string& Title() const { return title_; }
  HICON Icon() const { return icon_; }
  void SetIcon(HICON icon) { icon_ = icon; }
  HFONT DefaultFont() const { return font_; }

  void RegisterForm(Form* form);
  void UnregisterForm(Form* form);
  // Every form that exists, in the order of creation; the form of a window, or nullptr.
  const std::vector<Form*>& Forms() const { return forms_; }
  Form* FindForm(HWND hwnd) const;
  void SetMainForm(Form* form);
  Form* MainForm() const { return main_form_; }

  // Runs the message loop until the main form is destroyed; returns the exit code.
  int Run();
  // Work for the moments when no message waits (the windows drawn, no input pending): the
  // loop runs one step at a time until a step answers false. What start-up leaves for after
  // the main window shows.
  void SetIdleWork(std::function<bool()> step) { idle_work_ = std::move(step); }
  // One round of message handling: everything that is waiting (for kRoundMs at most), then
  // return. While a menu,
  // a box or a dialog runs its own loop above (ModalLoopRuns), the keys and clicks are left
  // in the queue for it: only what is sent, posted messages and paints are handled.
  void ProcessMessages();
  static constexpr DWORD kRoundMs = 50;
  // Only what other threads and programs send to this thread's windows: the program answers
  // them (a clipboard owner's question, a viewer chain's notice) and takes nothing from its
  // queue, so that no command, key or click runs.
  static void ProcessSentMessages();
  // Waits for `object` at most `milliseconds`, answering what is sent meanwhile (as
  // ProcessSentMessages); true when it was signalled.
  static bool WaitAnsweringSentMessages(HANDLE object, DWORD milliseconds);
  // Only the paint messages that are waiting (and messages other threads send, which every
  // wait delivers): the windows stay drawn while no command, key or click can run.
  void ProcessPaintMessages();
  // Only the messages posted to one window (and those other threads send): what showing it
  // set going is done before a long job, and no command, key or click can run.
  void ProcessPostedMessages(HWND window);
  // Handles messages (as ProcessMessages) for about the given time.
  void Wait(DWORD milliseconds);

  // A wait that handles messages runs while one lives. A close handled inside it would
  // destroy windows under the code that waits: such work is put off until the outermost
  // wait ends (AfterWaits).
  class WaitScope {
   public:
    WaitScope() { Instance().waits_.Enter(); }
    ~WaitScope() { Instance().waits_.Leave(); }
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;
  };
  bool InsideWait() const { return waits_.Inside(); }
  // Runs `work` when no wait runs any more (at once when none runs now).
  void AfterWaits(std::function<void()> work) { waits_.After(std::move(work)); }
  void Terminate();
  // A modeless dialog (such as the find dialog) gets its keys from the message loop while open.
  void AddModelessDialog(HWND dialog);
  void RemoveModelessDialog(HWND dialog);
  // Keys offered before dialog navigation (an in-place ActiveX control takes its
  // accelerators here); a preview returning true consumes the message.
  void AddKeyPreview(bool (*preview)(MSG& msg)) { key_previews_.push_back(preview); }
  bool Terminated() const { return terminated_; }

  void Minimize();
  void Restore();
  bool Minimized() const;
  // Called by the main form when it is minimised; runs OnMinimize.
  void NotifyMinimized();
  std::function<void()> OnMinimize;

 private:
  Application() = default;
  bool HandleDialogKeys(MSG& msg);
  void RelayHint(const MSG& msg) const;
  bool PreviewKey(MSG& msg);

  std::u16string title_;
  HICON icon_ = nullptr;
  HFONT font_ = nullptr;
  Form* main_form_ = nullptr;
  std::vector<Form*> forms_;
  std::vector<HWND> modeless_;
  std::vector<bool (*)(MSG&)> key_previews_;
  bool terminated_ = false;
  std::function<bool()> idle_work_;
  OutermostWork waits_{"after a wait"};
};

}  // namespace gui
