#pragma once
// Saving and discarding the working log ("temp.log"): the two save commands
// and the question asked when the program closes with logged data present.
//
// Nothing the user logged is lost on the way: an existing file is replaced
// only after the user agreed, the copy is written whole or not at all, the
// working log is deleted only once the copy is in place, and every failure
// is shown with its reason while the working log stays.

#include <string>

#include "alerts/save_log_dialog.h"
#include "alerts/save_log_files.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "platform/window.h"

namespace veltra {

enum class SaveResult {
    Saved,      // the copy is in place (the working log may have stayed, reported)
    Cancelled,  // the user closed the dialog; no file changed
    Failed,     // reported to the user; the working log is untouched
};

inline constexpr const char* kExitQuestion =
    "There is logged alert data present.\r\nWould you like to save your logged alert data?";

class LogSaver {
public:
    // Every box and dialog is shown under ModalGuard on `topMost`.
    LogSaver(SaveLogDialog& dialog, Prompt& prompt, TopMostOps& topMost, const SettingsStore& store,
             LogFiles& files, std::string workingLog);

    // Asks for a name, copies the working log there, then deletes it.
    SaveResult SaveLoggedData();
    // The "Save &Alert Data..." commands: save, and forget the logged data
    // only when the save completed, so that a cancelled or failed save still
    // brings the question at exit.
    void SaveAlertData(std::string& lastLogLine);
    // The question when the main window closes: only with logged data
    // present; Yes saves, No deletes the working log, and a box closed
    // without an answer leaves it for the next run.
    void AskToSaveOnExit(const std::string& lastLogLine);
    // The program is being ended from outside (logout, Ctrl-C, a closed
    // terminal) while a box of ours may be up. Ending the event loops closes
    // such a box with what looks like "No" or "Cancel", but nobody answered
    // it: from now on nothing is saved and nothing is deleted, so the working
    // log stays for the next run.
    void Abandon() { abandoned_ = true; }

    const std::string& workingLog() const { return workingLog_; }

private:
    PromptAnswer Show(const std::string& title, const std::string& text, PromptIcon icon,
                      PromptButtons buttons);
    void Report(const std::string& text);

    SaveLogDialog& dialog_;
    Prompt& prompt_;
    TopMostOps& topMost_;
    const SettingsStore& store_;
    LogFiles& files_;
    std::string workingLog_;
    bool abandoned_ = false;
};

}  // namespace veltra
