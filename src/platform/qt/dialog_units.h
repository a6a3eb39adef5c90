// Dialog units to pixels through a template's font, the way the Windows dialog manager does it.
#pragma once

#include <QFont>
#include <QRect>

#include "platform/dialog_template.h"
#include "platform/framework.h"

namespace ostrova::platform::qt {

struct DialogMetrics {
    QFont font;     // the template font at its pixel size
    int baseX = 0;  // average character width, the Windows way
    int baseY = 0;  // font height: ascent + descent
};

// Pixel size of a point size at a logical DPI (10 pt at 96 DPI is 13 px).
int PixelSizeForPoints(int points, double dpi);
DialogMetrics MetricsFor(const DialogTemplate& tpl, double dpi = 96.0);
QRect ToPixels(const DluRect& rect, const DialogMetrics& metrics);
QSize ClientSize(const DialogTemplate& tpl, const DialogMetrics& metrics);

// A font given by its cell height (ascent + descent) in device pixels, whatever the DPI: the
// largest device pixel size whose cell is no taller than asked, in the logical units of a
// screen with `deviceRatio` device pixels to the logical one and `logicalDpi`.
QFont FontForCellHeight(const FontSpec& requested, double deviceRatio = 1.0,
                        double logicalDpi = 96.0);

}  // namespace ostrova::platform::qt
