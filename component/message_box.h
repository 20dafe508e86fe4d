#pragma once
// Message boxes raised below the user interface go through one hook: the workbench shows a
// dialog, the command line prints to standard error, tests record them.

#include <functional>
#include <string>

namespace morva::com {

enum class MbIcon { None, Information, Question, Warning, Stop };
enum class MbButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };

/// Answers, with the values a desktop message box returns.
enum MbResult : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDABORT = 3,
    IDRETRY = 4,
    IDIGNORE = 5,
    IDYES = 6,
    IDNO = 7
};

using MessageBoxHook =
    std::function<int(const std::string& text, const std::string& caption, MbIcon, MbButtons)>;

/// Shows a message box through the installed hook and returns the answer. Without a hook the
/// text goes to standard error as "caption: text" and the answer is the first button's.
int ShowMessageBox(const std::string& text, const std::string& caption,
                   MbIcon icon = MbIcon::Information, MbButtons buttons = MbButtons::Ok);

/// Installs `hook` (an empty one restores the default) and returns the previous hook.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

}  // namespace morva::com
