#include "alerts/save_log.h"

#include <utility>

#include "shell/modal_guard.h"

namespace veltra {

namespace {

constexpr const char* kAppTitle = "Veltra Scope";
constexpr const char* kSaveTitle = "Save As...";

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

}  // namespace

LogSaver::LogSaver(SaveLogDialog& dialog, Prompt& prompt, TopMostOps& topMost,
                   const SettingsStore& store, LogFiles& files, std::string workingLog)
    : dialog_(dialog),
      prompt_(prompt),
      topMost_(topMost),
      store_(store),
      files_(files),
      workingLog_(std::move(workingLog)) {}

PromptAnswer LogSaver::Show(const std::string& title, const std::string& text, PromptIcon icon,
                            PromptButtons buttons) {
    return ModalGuard(topMost_, store_, [&] { return prompt_.show(title, text, icon, buttons); });
}

void LogSaver::Report(const std::string& text) {
    Show(kAppTitle, text, PromptIcon::Exclamation, PromptButtons::Ok);
}

SaveResult LogSaver::SaveLoggedData() {
    if (!files_.exists(workingLog_)) {
        Report("There is no logged alert data to save: the working log " + Quoted(workingLog_) +
               " does not exist.");
        return SaveResult::Failed;
    }
    // Until the user picks a usable name or cancels; declining to replace a
    // file goes back to the dialog, as in any Save As.
    for (;;) {
        auto path = ModalGuard(topMost_, store_, [&] { return dialog_.ChooseSavePath(); });
        if (abandoned_ || !path || path->empty()) {
            return SaveResult::Cancelled;
        }
        if (files_.sameFile(*path, workingLog_)) {
            // Copying it onto itself and then deleting it would lose it all.
            Report(Quoted(*path) +
                   " is the working log itself.\nPlease choose another name for the saved data.");
            continue;
        }
        if (files_.exists(*path) &&
            Show(kSaveTitle, Quoted(*path) + " already exists.\nDo you want to replace it?",
                 PromptIcon::Exclamation, PromptButtons::YesNo) != PromptAnswer::Yes) {
            if (abandoned_) {
                return SaveResult::Cancelled;
            }
            continue;
        }
        if (auto error = files_.copyReplacing(workingLog_, *path)) {
            Report("The logged alert data could not be saved to " + Quoted(*path) + ".\n" + *error +
                   "\nThe data is kept in " + Quoted(workingLog_) + ".");
            return SaveResult::Failed;
        }
        if (auto error = files_.remove(workingLog_)) {
            Report("The logged alert data was saved to " + Quoted(*path) +
                   ", but the working log " + Quoted(workingLog_) + " could not be deleted.\n" +
                   *error);
        }
        return SaveResult::Saved;
    }
}

void LogSaver::SaveAlertData(std::string& lastLogLine) {
    if (SaveLoggedData() == SaveResult::Saved) {
        lastLogLine.clear();
    }
}

void LogSaver::AskToSaveOnExit(const std::string& lastLogLine) {
    if (lastLogLine.empty()) {
        return;
    }
    const PromptAnswer answer =
        Show(kAppTitle, kExitQuestion, PromptIcon::Question, PromptButtons::YesNo);
    if (abandoned_) {
        return;
    }
    if (answer == PromptAnswer::Yes) {
        SaveLoggedData();
        return;
    }
    // Only a plain No throws the data away. A box closed without an answer
    // leaves the working log as it is, as a cancelled Save As does: the next
    // run appends to it and asks again.
    if (answer != PromptAnswer::No) {
        return;
    }
    if (auto error = files_.remove(workingLog_)) {
        Report("The logged alert data in " + Quoted(workingLog_) + " could not be deleted.\n" +
               *error);
    }
}

}  // namespace veltra
