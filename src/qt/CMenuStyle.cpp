// SPDX-License-Identifier: MIT
#include "CMenuStyle.h"

#include <QMenu>
#include <QPainter>
#include <QStyleOption>

namespace {

// The classic 7 x 7 menu check mark: in each column a stroke three pixels
// high, falling for three columns and rising for four.
constexpr int kMarkSide = 7;
constexpr int kStrokeTop[kMarkSide] = {2, 3, 4, 3, 2, 1, 0};
constexpr int kStroke = 3;

void DrawCheckMark(const QStyleOption& option, QPainter& painter)
{
    const QPalette::ColorGroup group =
        option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    const QPalette::ColorRole role =
        option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text;
    const QColor colour = option.palette.color(group, role);
    const QPoint origin = option.rect.center() - QPoint(kMarkSide / 2, kMarkSide / 2);
    for (int x = 0; x < kMarkSide; ++x)
        painter.fillRect(origin.x() + x, origin.y() + kStrokeTop[x], 1, kStroke, colour);
}

}  // namespace

void CMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* pOption,
                               QPainter* pPainter, const QWidget* pWidget) const
{
    const bool bMenuCheck = (element == PE_IndicatorCheckBox || element == PE_IndicatorMenuCheckMark) &&
                            qobject_cast<const QMenu*>(pWidget);
    if (!bMenuCheck) {
        QProxyStyle::drawPrimitive(element, pOption, pPainter, pWidget);
        return;
    }
    if (pOption->state & State_On)
        DrawCheckMark(*pOption, *pPainter);
}
