// Load, Save, Save as and the start-up load: the command logic, behind a small interface that
// the settings window implements (and tests fake).
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string_view>

#include "config/codec.h"
#include "config/record.h"

namespace ostrova {

// What the commands need from the window.
class FileCommandHost {
public:
    virtual ~FileCommandHost() = default;
    // Copies the recipients, SMS control and Status Response from the form into the record.
    virtual void StoreFormIntoRecord() = 0;
    // Opens the Email Setting dialog modally.
    virtual void ShowEmailSetting() = 0;
    virtual void ShowMessage(std::string_view text) = 0;
    // The Filetype list: its entry count and selection (-1 for none).
    virtual int FileTypeCount() = 0;
    virtual int FileTypeSelection() = 0;
    virtual void SelectFileType(int position) = 0;
    // Rebuilds the Filetype list's shape from the record.
    virtual void FillFileTypeList() = 0;
    // Shows the record on the form after a load (recipients, SMS, the master refresh).
    virtual void RefreshFromRecord() = 0;
    virtual std::optional<std::filesystem::path> AskOpenPath() = 0;
    virtual std::optional<std::filesystem::path> AskSaveAsPath(FileForm form) = 0;
    virtual void ShowInFileManager(const std::filesystem::path& file) = 0;
    virtual std::tm Now() = 0;
};

// The dialogs' filters, in the "desc|pattern|" form.
inline constexpr std::string_view kOpenFilter = "*.CFG|*.cfg|*.BIN|*.bin|";
inline constexpr std::string_view kSaveCfgFilter = "*.cfg|*.CFG";
inline constexpr std::string_view kSaveBinFilter = "*.bin|*.BIN";

inline constexpr std::string_view kCfgFileName = "wireless.cfg";
inline constexpr std::string_view kBinFileName = "MMSCFG.BIN";

class FileCommands {
public:
    FileCommands(ConfigRecord& record, CustomPreset& custom, FileCommandHost& host)
        : record_(record), custom_(custom), host_(host) {}

    // Looks for wireless.cfg, then MMSCFG.BIN, in `folder`; silent.
    void LoadStartup(const std::filesystem::path& folder);
    void Load();
    void Save();
    void SaveAs();

private:
    // The shared preparation; returns the form to write, or nullopt when the save stops.
    std::optional<FileForm> Prepare();
    void Write(const std::filesystem::path& path, FileForm form, std::string_view shownName);
    void SelectLoadedForm(FileForm form);

    ConfigRecord& record_;
    CustomPreset& custom_;
    FileCommandHost& host_;
};

}  // namespace ostrova
