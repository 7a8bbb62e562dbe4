// SPDX-License-Identifier: MIT
#pragma once

#include <QProxyStyle>

// The game menu's look for its one switch: a plain check mark beside the
// item while it is on and nothing at all while it is off, where the
// desktop style would draw a check box in both states.
class CMenuStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* pOption, QPainter* pPainter,
                       const QWidget* pWidget = nullptr) const override;
};
