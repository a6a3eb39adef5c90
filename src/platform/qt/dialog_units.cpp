#include "platform/qt/dialog_units.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>
#include <cmath>

namespace ostrova::platform::qt {
namespace {

// MulDiv: a * b / c rounded to nearest, as the dialog manager scales.
int MulDiv(int a, int b, int c) { return (a * b + c / 2) / c; }

int CellHeight(const QFont& font) {
    const QFontMetrics fm(font);
    return fm.ascent() + fm.descent();
}

}  // namespace

int PixelSizeForPoints(int points, double dpi) {
    return static_cast<int>(std::lround(points * dpi / 72.0));
}

DialogMetrics MetricsFor(const DialogTemplate& tpl, double dpi) {
    DialogMetrics m;
    m.font = QFont(QString::fromLatin1(tpl.fontFace.data(), static_cast<qsizetype>(tpl.fontFace.size())));
    m.font.setPixelSize(PixelSizeForPoints(tpl.fontPoints, dpi));
    const QFontMetrics fm(m.font);
    QString letters;
    for (char c = 'A'; c <= 'Z'; ++c) letters += QChar(c);
    for (char c = 'a'; c <= 'z'; ++c) letters += QChar(c);
    m.baseX = (fm.horizontalAdvance(letters) / 26 + 1) / 2;
    m.baseY = fm.ascent() + fm.descent();
    return m;
}

QRect ToPixels(const DluRect& r, const DialogMetrics& m) {
    return {MulDiv(r.x, m.baseX, 4), MulDiv(r.y, m.baseY, 8), MulDiv(r.w, m.baseX, 4),
            MulDiv(r.h, m.baseY, 8)};
}

QSize ClientSize(const DialogTemplate& tpl, const DialogMetrics& m) {
    return {MulDiv(tpl.width, m.baseX, 4), MulDiv(tpl.height, m.baseY, 8)};
}

QFont FontForCellHeight(const FontSpec& requested, double deviceRatio, double logicalDpi) {
    QFont font(QString::fromStdString(requested.face));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(requested.weight, 100, 900)));
    font.setItalic(requested.italic);
    const int wanted = std::max(1, requested.cellHeight);
    // The largest pixel size whose ascent + descent fits. Each size loads a font, so start from
    // the proportion measured at `wanted` and step from there instead of trying every size.
    font.setPixelSize(wanted);
    const int measured = CellHeight(font);
    int px = std::clamp(measured > 0 ? wanted * wanted / measured : wanted, 1, wanted);
    font.setPixelSize(px);
    while (px > 1 && CellHeight(font) > wanted) font.setPixelSize(--px);
    while (px < wanted) {
        font.setPixelSize(px + 1);
        if (CellHeight(font) > wanted) break;
        ++px;
    }
    // Qt multiplies logical sizes by the ratio; a size between whole logical pixels can be
    // given in points only.
    const double logical = px / deviceRatio;
    if (logical == std::floor(logical))
        font.setPixelSize(static_cast<int>(logical));
    else
        font.setPointSizeF(logical * 72.0 / logicalDpi);
    return font;
}

}  // namespace ostrova::platform::qt
