#include "config/presets.h"

#include "tables/operator_presets.h"

namespace ostrova {
namespace {

void CopyRow(ConfigRecord& r, const OperatorPreset& row) {
    ZeroField(r.mmsApn);
    ZeroField(r.mmsUser);
    ZeroField(r.mmsPassword);
    ZeroField(r.mmscUrl);
    ZeroField(r.mmsProxy);
    ZeroField(r.mmsPort);
    ZeroField(r.netApn);
    ZeroField(r.netUser);
    ZeroField(r.netPassword);
    CopyText(r.mmsApn, ColumnText(row.mmsApn));
    CopyText(r.mmsUser, ColumnText(row.mmsUser));
    CopyText(r.mmsPassword, ColumnText(row.mmsPassword));
    CopyText(r.mmscUrl, ColumnText(row.mmscUrl));
    CopyText(r.mmsProxy, ColumnText(row.mmsProxy));
    CopyText(r.mmsPort, ColumnText(row.mmsPort));
    CopyText(r.netApn, ColumnText(row.netApn));
    CopyText(r.netUser, ColumnText(row.netUser));
    CopyText(r.netPassword, ColumnText(row.netPassword));
}

}  // namespace

void CopyPresetToParams(ConfigRecord& record, std::uint8_t country, std::uint8_t op) {
    if (country == kCountryAuto || country == kCountryCustom) return;
    if (const OperatorPreset* row = FindPreset(country, op)) CopyRow(record, *row);
}

void CopyPresetByOperatorId(ConfigRecord& record, std::uint8_t op) {
    if (const OperatorPreset* row = FindPresetByOperatorId(op)) CopyRow(record, *row);
}

}  // namespace ostrova
