#include "config/file_commands.h"

#include "config/messages.h"
#include "config/paths.h"
#include "config/save.h"

namespace ostrova {

void FileCommands::LoadStartup(const std::filesystem::path& folder) {
    const FileBytes cfg = ReadWholeFile(folder / kCfgFileName);
    if (cfg.status == ReadStatus::Loaded) {
        // Once a wireless.cfg was read whole, MMSCFG.BIN is not tried, even when it is bad.
        if (ReadSettingsBytes(cfg.bytes, FileForm::Cfg, Reader::Startup, record_).status !=
            ReadStatus::Loaded)
            return;
    } else {
        const FileBytes bin = ReadWholeFile(folder / kBinFileName);
        if (bin.status != ReadStatus::Loaded) return;
        if (ReadSettingsBytes(bin.bytes, FileForm::Bin, Reader::Startup, record_).status !=
            ReadStatus::Loaded)
            return;  // a newer tool's file
        host_.SelectFileType(0);
    }
    // As after "Load ...": a Custom country keeps its parameters across a change and back.
    if (record_.countryId == 1) StoreCustomPreset(custom_, record_);
    host_.FillFileTypeList();
    host_.RefreshFromRecord();
}

void FileCommands::SelectLoadedForm(FileForm form) {
    // Where the list has no entry for the form, "wireless.cfg" is selected: no selection would
    // make the next save write MMSCFG.BIN and drop the FTP and HTTP settings.
    const int count = host_.FileTypeCount();
    if (count == 2) {
        host_.SelectFileType(form == FileForm::Bin ? 0 : 1);
    } else {
        host_.SelectFileType(0);
    }
}

void FileCommands::Load() {
    const auto path = host_.AskOpenPath();
    if (!path) return;
    // The file opens by the path as picked; only the name's text, which never fails to come,
    // decides the form.
    const FileForm form = FileFormFromExtension(Utf8FromPath(*path));
    // The selection follows the extension before the file is opened and stays on failure.
    SelectLoadedForm(form);

    const ReadResult result = ReadSettingsFile(*path, form, Reader::LoadCommand, record_);
    if (result.status != ReadStatus::Loaded) {
        host_.ShowMessage(msg::LoadFailureMessage(result.status));
        return;
    }
    if (result.oldVersionNotice) host_.ShowMessage(msg::kOldVersion);
    // A loaded Custom country keeps its parameters across a change of country and back.
    if (record_.countryId == 1) StoreCustomPreset(custom_, record_);
    // The Filetype list keeps its shape: rebuilding it here would select MMSCFG.BIN the moment
    // an FTP file's Send To changes, and the next save would drop the rest of the record.
    host_.RefreshFromRecord();
}

std::optional<FileForm> FileCommands::Prepare() {
    host_.StoreFormIntoRecord();
    PrepareForSave(record_);
    if (NeedsEmailAccount(record_)) {
        host_.ShowEmailSetting();
        return std::nullopt;
    }
    if (SmsControlWithoutPhone(record_)) {
        host_.ShowMessage(msg::kSmsControlNeedsPhone);
        return std::nullopt;
    }
    return FileFormFromList(host_.FileTypeSelection(), host_.FileTypeCount());
}

void FileCommands::Write(const std::filesystem::path& path, FileForm form,
                         std::string_view shownName) {
    // The save works on a copy: a failed write leaves the record as the preparation left it.
    ConfigRecord next = record_;
    const std::vector<std::uint8_t> bytes = EncodeForSave(next, form, host_.Now());
    std::error_code error;
    const FileLock lock(path);  // a command-line edit of the same file waits for this save
    if (!WriteFileAtomically(path, bytes, error)) {
        // Every other failure keeps the old file; this one must not pass unsaid.
        if (error.category() == DamagedFileCategory()) {
            host_.ShowMessage(std::string(msg::kCreateFileFail) + " (" + error.message() + ")");
        } else {
            host_.ShowMessage(msg::kCreateFileFail);
        }
        return;
    }
    record_ = next;
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    if (ec) full = path;
    host_.ShowMessage("Save " + std::string(shownName) + " OK!");
    host_.ShowInFileManager(full);
}

void FileCommands::Save() {
    const auto form = Prepare();
    if (!form) return;
    const std::string_view name = *form == FileForm::Cfg ? kCfgFileName : kBinFileName;
    Write(std::filesystem::path(name), *form, name);
}

void FileCommands::SaveAs() {
    const auto form = Prepare();
    if (!form) return;
    const auto path = host_.AskSaveAsPath(*form);
    if (!path) return;
    Write(*path, *form, Utf8FromPath(*path));
}

}  // namespace ostrova
