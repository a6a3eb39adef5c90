// The main window's commands that open other windows or files: Parameters, the settings
// button, Load, Save, Save as and the start-up load.
#include <memory>

#include "config/file_commands.h"
#include "config/presets.h"
#include "config/settings_folder.h"
#include "res/resource_ids.h"
#include "ui/dialogs/email_setting_dlg.h"
#include "ui/dialogs/ftp_setting_dlg.h"
#include "ui/dialogs/http_setting_dlg.h"
#include "ui/dialogs/operator_param_dlg.h"
#include "ui/main/settings_dlg.h"

namespace ostrova::ui {

using namespace ostrova::res;

// The window as the file commands see it.
class CSettingsDlg::Host : public FileCommandHost {
public:
    explicit Host(CSettingsDlg& dlg) : dlg_(dlg) {}
    void StoreFormIntoRecord() override {
        dlg_.StoreRecipients();
        dlg_.StoreSmsControl();
    }
    void ShowEmailSetting() override {
        CEmailSettingDlg email(dlg_.m_config, &dlg_);
        email.DoModal();
    }
    void ShowMessage(std::string_view text) override { platform::AfxMessageBox(text); }
    int FileTypeCount() override { return dlg_.m_cbFileType.GetCount(); }
    int FileTypeSelection() override { return dlg_.m_cbFileType.GetCurSel(); }
    void SelectFileType(int position) override { dlg_.m_cbFileType.SetCurSel(position); }
    void FillFileTypeList() override { dlg_.FillFileTypeList(); }
    void RefreshFromRecord() override {
        dlg_.ShowRecipients();
        dlg_.ShowSmsControl();
        dlg_.UpdateFormState();
    }
    std::optional<std::filesystem::path> AskOpenPath() override {
        return dlg_.services().OpenFileDialog({"CFG", "", kOpenFilter});
    }
    std::optional<std::filesystem::path> AskSaveAsPath(FileForm form) override {
        if (form == FileForm::Cfg) {
            return dlg_.services().SaveFileDialog({"CFG", kCfgFileName, kSaveCfgFilter});
        }
        return dlg_.services().SaveFileDialog({"BIN", kBinFileName, kSaveBinFilter});
    }
    void ShowInFileManager(const std::filesystem::path& file) override {
        dlg_.services().ShowInFileManager(file);
    }
    std::tm Now() override { return dlg_.Now(); }

private:
    CSettingsDlg& dlg_;
};

void CSettingsDlg::OnParameters() {
    COperatorParamDlg dlg(m_config, m_customPreset, this);
    CopyPresetToParams(m_config, m_config.countryId, m_config.operatorId);
    dlg.DoModal();
}

void CSettingsDlg::OnSendToSettings() {
    // All three are built on every click, so whichever opens shows the record as it is now.
    CEmailSettingDlg email(m_config, this);
    CFtpSettingDlg ftp(m_config, this);
    CHttpSettingDlg http(m_config, this);
    switch (m_config.sendTo) {
        case kToEmail: email.DoModal(); break;
        case kToHttp: http.DoModal(); break;
        case kToFtp: ftp.DoModal(); break;
        default: break;
    }
}

void CSettingsDlg::LoadStartupSettings() {
    Host host(*this);
    FileCommands(m_config, m_customPreset, host).LoadStartup(SettingsFolder());
}

void CSettingsDlg::OnLoad() {
    Host host(*this);
    FileCommands(m_config, m_customPreset, host).Load();
}

void CSettingsDlg::OnSave() {
    Host host(*this);
    FileCommands(m_config, m_customPreset, host).Save();
}

void CSettingsDlg::OnSaveAs() {
    Host host(*this);
    FileCommands(m_config, m_customPreset, host).SaveAs();
}

std::filesystem::path CSettingsDlg::SettingsFolder() {
    return ChooseSettingsFolder(services().ProgramPath().parent_path()).startup;
}

}  // namespace ostrova::ui
