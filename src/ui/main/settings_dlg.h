// The main window: the form on which the user edits the settings record.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>

#include "config/record.h"
#include "platform/framework.h"

namespace ostrova::ui {

class CSettingsDlg : public platform::CDialog {
public:
    CSettingsDlg(ConfigRecord& record, CustomPreset& customPreset);
    ~CSettingsDlg() override;

    // --- Record onto the form, and back.
    void ShowSendVia();
    void ShowRecipients();
    void StoreRecipients();
    void ShowSmsControl();
    void StoreSmsControl();
    void FillFileTypeList();
    void FillSendToList();
    void UpdateFormState();
    void FillOperatorList();
    void ShowCountryOperator();

    // --- Group switches.
    void EnableSendViaGroup(bool on);
    void EnableOperatorGroup(bool on);
    void EnableSendToGroup(bool on);
    void EnableRecipientGroup(bool on);
    void EnableImageGroup(bool on);

    // --- Handlers.
    void OnInstant();
    void OnDailyReport();
    void OnOff();
    void OnMms();
    void OnInternet();
    void OnSendToChanged();
    void OnDefault();
    void OnHourChanged();
    void OnMinuteChanged();
    void OnMaxNumChanged();
    void OnSmsControlChanged();
    void OnStatusResponse();
    void OnImageQualityChanged();
    void OnImageFromChanged();
    void OnRecipientBox(int box);
    void OnRecipientEdit(int edit);
    void OnCountryChanged();
    void OnOperatorChanged();
    void OnParameters();
    void OnSendToSettings();
    void OnLoad();
    void OnSave();
    void OnSaveAs();
    void LoadStartupSettings();

    // The date/time text as the clock writes it.
    static std::string FormatDateTime(const std::tm& t);
    // The local time the clock shows and a save records: the desktop's, unless OSTROVA_CLOCK
    // fixes it (YYYY-MM-DD HH:MM:SS), so that tests can compare whole saved files.
    std::tm Now();

    ConfigRecord& record() { return m_config; }

    // Control members.
    platform::CComboBox m_cbFileType;
    platform::CComboBox m_cbSendTo;
    platform::CComboBox m_cbImageQuality;
    platform::CButton m_chkStatusResponse;
    platform::CComboBox m_cbSmsControl;
    platform::CComboBox m_cbOperator;
    platform::CComboBox m_cbCountry;
    // Value members.
    int m_nHour = 0;
    int m_nMinute = 0;
    std::string m_strImageFrom;
    std::string m_strPhone1, m_strPhone2, m_strPhone3, m_strPhone4;
    std::string m_strEmail1, m_strEmail2, m_strEmail3, m_strEmail4;
    int m_nMaxNum = 0;
    std::string m_strDateTime;
    // Frame state.
    int m_bScrollEnabled = 0;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(platform::CDataExchange& dx) override;
    void OnTimer(int timerId) override;
    void OnSysCommand(int commandId) override;
    void OnVScroll(platform::ScrollRequest request, int thumbPos) override;
    void OnMouseWheel(int delta) override;

private:
    class Host;
    // The folder the start-up load reads (SettingsFolder::startup).
    std::filesystem::path SettingsFolder();
    void FrameSetUp();
    void OnNumericChanged(int edit);
    std::uint8_t CountryPosition() const;
    void ScrollTo(int newPos, int move, bool moveFirst);
    void ScrollBy(int step);

    ConfigRecord& m_config;
    CustomPreset& m_customPreset;
};

}  // namespace ostrova::ui
