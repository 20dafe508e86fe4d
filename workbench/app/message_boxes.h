#pragma once
// The workbench's message boxes and file name prompts. Every one goes through a hook so that
// tests can answer them; without a hook a real dialog is shown.

#include <QString>
#include <functional>

namespace morva::app {

enum class BoxKind {
    Information,             ///< OK
    Confirmation,            ///< Yes, No
    ConfirmationWithCancel,  ///< Yes, No, Cancel
    ConfirmationForMany      ///< Yes, No, Cancel, No to All, Yes to All
};

enum class Answer { Ok, Yes, No, Cancel, NoToAll, YesToAll };

using MessageHook = std::function<Answer(BoxKind, const QString& text)>;

/// Installs `hook` (an empty one restores the real dialogs) and returns the previous one.
MessageHook SetMessageHook(MessageHook hook);

/// An information box; `caption` defaults to the program's title.
void InformationBox(const QString& text, const QString& caption = {});
Answer Confirmation(const QString& text);
Answer ConfirmationWithCancel(const QString& text);
Answer ConfirmationForMany(const QString& text);

enum class FilePrompt { Open, Save };

/// Asks for a file name: `folder` is where the dialog starts, `proposed` the name it
/// proposes, `filter` the file types ("Text (*.TXT)|*.TXT|..."). Empty when cancelled.
using FilePromptHook = std::function<QString(FilePrompt, const QString& folder,
                                             const QString& proposed, const QString& filter)>;

FilePromptHook SetFilePromptHook(FilePromptHook hook);
QString AskFileName(FilePrompt kind, const QString& folder, const QString& proposed,
                    const QString& filter);

/// The file types of a "description|pattern|..." filter as a file dialog takes them.
QString DialogFilter(const QString& pipeFilter);

/// Shows the hourglass cursor while alive, also when an error leaves the scope.
class BusyCursor {
  public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace morva::app
