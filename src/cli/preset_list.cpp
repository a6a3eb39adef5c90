#include "cli/preset_list.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "tables/operator_presets.h"
#include "text/cp1252.h"

namespace ostrova::cli {
namespace {

// The nine parameters by the names show prints, in column order.
constexpr std::array<std::string_view, 9> kParams = {"mmsApn",  "mmsUser",  "mmsPassword",
                                                     "mmscUrl", "mmsProxy", "mmsPort",
                                                     "netApn",  "netUser",  "netPassword"};

std::array<std::string_view, 9> Values(const OperatorPreset& row) {
    return {ColumnText(row.mmsApn),  ColumnText(row.mmsUser),  ColumnText(row.mmsPassword),
            ColumnText(row.mmscUrl), ColumnText(row.mmsProxy), ColumnText(row.mmsPort),
            ColumnText(row.netApn),  ColumnText(row.netUser),  ColumnText(row.netPassword)};
}

std::string_view ProvenanceName(Provenance p) {
    switch (p) {
        case Provenance::Public:
            return "public";
        case Provenance::Partly:
            return "partly";
        case Provenance::StandIn:
            break;
    }
    return "none";
}

// In the order a row's summary names them.
constexpr std::array<Evidence, 7> kEvidenceOrder = {
    Evidence::Both,    Evidence::FirstKept, Evidence::SecondOnly, Evidence::FirstOnly,
    Evidence::StandIn, Evidence::Recalled,  Evidence::Derived};

std::string_view EvidenceName(Evidence e) {
    switch (e) {
        case Evidence::Both:
            return "both sources";
        case Evidence::FirstKept:
            return "differ, Debian kept";
        case Evidence::SecondOnly:
            return "LineageOS only";
        case Evidence::FirstOnly:
            return "Debian only";
        case Evidence::StandIn:
            return "stand-in";
        case Evidence::Recalled:
            return "recalled, unconfirmed";
        case Evidence::Derived:
            return "derived or placeholder";
        case Evidence::Empty:
            break;
    }
    return "";
}

Evidence EvidenceOf(const PresetSource& source, std::size_t param) {
    return static_cast<Evidence>(source.evidence[param]);
}

// "both sources: all" or "both sources: mmsApn, netApn; Debian only: mmsProxy".
std::string Summary(const PresetSource& source) {
    std::size_t filled = 0;
    for (std::size_t i = 0; i < kParams.size(); ++i)
        if (EvidenceOf(source, i) != Evidence::Empty) ++filled;
    if (filled == 0) return "no parameters";
    std::string out;
    for (const Evidence e : kEvidenceOrder) {
        std::vector<std::string_view> names;
        for (std::size_t i = 0; i < kParams.size(); ++i)
            if (EvidenceOf(source, i) == e) names.push_back(kParams[i]);
        if (names.empty()) continue;
        out += (out.empty() ? "" : "; ") + std::string(EvidenceName(e)) + ": ";
        if (names.size() == filled) {
            out += "all";
            continue;
        }
        for (std::size_t n = 0; n < names.size(); ++n)
            out += (n ? ", " : "") + std::string(names[n]);
    }
    return out;
}

// Windows-1252 text to UTF-8, padded to a width in characters (one byte each before).
std::string Padded(std::string_view text, std::size_t width) {
    return Cp1252ToUtf8(text) + std::string(width - std::min(width, text.size()), ' ');
}

}  // namespace

void ListPresets(std::ostream& out, std::optional<std::uint8_t> country, bool values) {
    const auto table = OperatorPresetTable();
    const auto sources = PresetSourceTable();
    std::size_t countryWidth = 7, operatorWidth = 8;  // the headings
    for (const OperatorPreset& row : table) {
        if (country && row.countryId != *country) continue;
        countryWidth = std::max(countryWidth, ColumnText(row.countryName).size());
        operatorWidth = std::max(operatorWidth, ColumnText(row.operatorName).size());
    }
    out << "id  " << Padded("country", countryWidth) << "  " << Padded("operator", operatorWidth)
        << "  provenance  sources\n";
    for (std::size_t i = 0; i < table.size(); ++i) {
        const OperatorPreset& row = table[i];
        if (country && row.countryId != *country) continue;
        std::string id = std::to_string(row.operatorId);
        id.insert(0, 2 - std::min<std::size_t>(id.size(), 2), ' ');
        out << id << "  " << Padded(ColumnText(row.countryName), countryWidth) << "  "
            << Padded(ColumnText(row.operatorName), operatorWidth) << "  "
            << Padded(ProvenanceName(sources[i].provenance), 10) << "  " << Summary(sources[i])
            << '\n';
        if (!values) continue;
        const auto texts = Values(row);
        for (std::size_t p = 0; p < kParams.size(); ++p) {
            if (texts[p].empty()) continue;
            out << "    " << Padded(kParams[p], 12) << Padded('"' + std::string(texts[p]) + '"', 44)
                << "  " << EvidenceName(EvidenceOf(sources[i], p)) << '\n';
        }
    }
}

}  // namespace ostrova::cli
