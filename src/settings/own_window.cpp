#include "settings/own_window.h"

#include "settings/settings_file.h"
#include "settings/stored_texts.h"
#include "settings/unscramble.h"

namespace quillop::settings {

namespace {

// OpenFile's path member holds at most 127 characters.
constexpr std::size_t kOpenFilePathLimit = 128;

std::string status_of_error(std::uint32_t code) {
    switch (code) {
    case platform::kErrorSharingViolation:
    case platform::kErrorLockViolation:
        return "OPEN";
    case platform::kErrorFileNotFound:
    case platform::kErrorPathNotFound:
    case platform::kErrorNotReady:
    case platform::kErrorNotDosDisk:
    case platform::kErrorSectorNotFound:
        return "NOT FOUND";
    default:
        return "ERROR";
    }
}

} // namespace

void Toggle_Always_On_Top(platform::Services& services, ui::Form& window, ui::MenuItem& option) {
    constexpr unsigned kFlags =
        platform::kSwpNoSize | platform::kSwpNoMove | platform::kSwpNoActivate;
    if (option.Checked()) {
        option.SetChecked(false);
        services.desktop.SetWindowPos(window.Handle(), platform::kHwndNoTopmost, 0, 0, 0, 0,
                                      kFlags);
    } else {
        option.SetChecked(true);
        services.desktop.SetWindowPos(window.Handle(), platform::kHwndTopmost, 0, 0, 0, 0, kFlags);
    }
}

std::string Get_File_Status(platform::Services& services, std::string_view path_text) {
    if (path_text.empty()) {
        return {};
    }
    const std::string path(path_text);
    platform::Files& files = services.files;
    if (!platform::file_exists(files, path)) {
        return {};
    }
    const std::uint32_t previous_mode = files.SetErrorMode(platform::kSemFailCriticalErrors);
    std::string status = "CLOSED";
    if (path.size() < kOpenFilePathLimit) {
        platform::OfStruct of;
        platform::ScopedFile file(
            files,
            files.OpenFile(path.c_str(), of, platform::kOfReadWrite | platform::kOfShareExclusive));
        if (file.Get() == platform::kHfileError) {
            status = status_of_error(of.nErrCode);
        }
    } else {
        platform::ScopedFile file(
            files, files.CreateFileA(path.c_str(), platform::kGenericRead | platform::kGenericWrite,
                                     0, platform::kOpenExisting, 0));
        if (file.Get() == platform::kInvalidHandleValue) {
            status = status_of_error(files.GetLastError());
        }
    }
    files.SetErrorMode(previous_mode);
    return status;
}

bool Delete_File_If_Closed(platform::Services& services, std::string_view path_text) {
    const std::string path(path_text);
    platform::Files& files = services.files;
    if (!platform::file_exists(files, path)) {
        return false;
    }
    files.SetFileAttributesA(path.c_str(), 0);
    if (Get_File_Status(services, path) != "CLOSED") {
        return false;
    }
    files.DeleteFileA(path.c_str());
    return !platform::file_exists(files, path);
}

std::string Restore_Question() {
    return Unscramble_Text(stored::kRestoreQuestion1) + "\r\n" +
           Unscramble_Text(stored::kRestoreQuestion2) + "\r\n" +
           Unscramble_Text(stored::kRestoreQuestion3) + "\r\n" + "\r\n" +
           Unscramble_Text(stored::kRestoreQuestion4);
}

void Restore_Factory_Defaults(platform::Services& services, ui::Form& window,
                              const std::function<void()>& form_show) {
    if (services.boxes.Show(platform::BoxKind::WarningQuestion, Restore_Question(), "") ==
        platform::BoxAnswer::No) {
        return;
    }
    Delete_File_If_Closed(services, Settings_File_Path(services.system));
    services.desktop.ShowWindow(window.Handle(), platform::kSwRestore);
    form_show();
}

} // namespace quillop::settings
