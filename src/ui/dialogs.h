// The modal boxes, the folder picker and the desktop hooks a window needs.
//
// The window logic asks through these small interfaces and never knows
// whether a person (the Qt skin), a script (the command line) or a test
// answers. Every box is modal: the call returns when it has been answered.
#ifndef PELLMAR_UI_DIALOGS_H_
#define PELLMAR_UI_DIALOGS_H_

#include <functional>
#include <optional>
#include <string>

namespace pellmar {

/// What the folder picker is asked for.
struct FolderPickerRequest {
  std::string title;         // shown above the folders; may be empty
  std::string start_folder;  // namespace path preselected when it exists
  // Select's picker: the user may type a folder that does not exist yet
  // (asked to confirm), and the chosen folder is then created with parents.
  bool allow_new_folder = false;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  /// A plain box titled "Pellmar" with the text and an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  /// A box titled "Pellmar" with Yes and No; true only for Yes.
  virtual bool Confirm(const std::string& question) = 0;
  /// An absolute namespace folder, or nullopt when cancelled.
  virtual std::optional<std::string> PickFolder(const FolderPickerRequest& request) = 0;
};

/// Shell execution, as the desktop's "open" verb.
class Shell {
 public:
  virtual ~Shell() = default;
  /// How the started program's window first shows, in the values Windows
  /// gives them.
  static constexpr int kShowNormal = 1;  // a normal window
  static constexpr int kShowAsIs = 5;    // at its current size and position
  /// show: kShowNormal or kShowAsIs. False when no program could be started
  /// for it.
  virtual bool Execute(const std::string& verb, const std::string& file,
                       const std::string& parameters, const std::string& directory, int show) = 0;
};

class TLogViewer;

/// What only the running toolkit can do for a window.
class WindowHost {
 public:
  virtual ~WindowHost() = default;
  /// Shows the log window modally; returns when the user has closed it.
  virtual void ShowModal(TLogViewer& log) = 0;
  /// Hides the log window when it is on screen.
  virtual void Hide(TLogViewer& log) = 0;
  virtual bool Showing(const TLogViewer& log) const = 0;
  /// Lets the toolkit repaint and keep the window responsive to the desktop
  /// (not to the user) during a long run.
  virtual void ProcessEvents() = 0;
  /// Ends the event loop once the running reaction has returned.
  virtual void RequestQuit() = 0;
  /// Gives the keyboard focus to a control, by its name.
  virtual void SetFocus(const std::string& control_name) = 0;
  /// Shows the busy pointer while a run goes, and the normal one after.
  virtual void SetBusy(bool /*busy*/) {}
  /// Runs `work` on the window's own thread, soon, from its event loop.
  /// Callable from any thread: how work done away from the window hands
  /// its result back. Work posted as the window goes may never run.
  virtual void Post(std::function<void()> work) = 0;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_DIALOGS_H_
