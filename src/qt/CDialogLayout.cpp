// SPDX-License-Identifier: MIT
#include "CDialogLayout.h"

#include <QDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStringList>
#include <cassert>
#include <cstdint>
#include <cstdlib>

#include "CResources.h"
#include "Texts.h"

namespace {

const int kTemplatePointSize = 9;
// A line of text in vertical dialog units.
const int kLineUnits = 8;

// The templates' own font first; where it is missing, a Chinese sans-serif
// font, starting with the one the game's packages bring.
const char* const kDialogFamilies[] = {
    "SimSun",
    TXT_DIALOG_FONT,
    "WenQuanYi Micro Hei",
    "Noto Sans CJK SC",
    "Source Han Sans SC",
    "WenQuanYi Zen Hei",
    "Droid Sans Fallback",
};

QString FindDialogFamily()
{
    const QStringList families = QFontDatabase::families();
    for (const char* pName : kDialogFamilies) {
        const QString name = QString::fromUtf8(pName);
        if (families.contains(name, Qt::CaseInsensitive))
            return name;
    }
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    return chinese.isEmpty() ? QString() : chinese.front();
}

}  // namespace

CDialogLayout::CDialogLayout(int nAvgCharWidth, int nCharHeight)
    : m_nAvgCharWidth(nAvgCharWidth), m_nCharHeight(nCharHeight)
{
    assert(nAvgCharWidth > 0 && nCharHeight > 0);
}

CDialogLayout::CDialogLayout() : CDialogLayout(QFontMetrics(DialogFont())) {}

CDialogLayout::CDialogLayout(const QFontMetrics& metrics)
    : CDialogLayout(AverageCharWidth(metrics), metrics.height())
{
}

QFont CDialogLayout::DialogFont()
{
    // Looked up once: no font comes or goes while the game runs.
    static const QString s_family = FindDialogFamily();
    QFont font;
    if (!s_family.isEmpty())
        font.setFamily(s_family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(kTemplatePointSize);
    return font;
}

int CDialogLayout::AverageCharWidth(int nAlphabetWidth)
{
    return (nAlphabetWidth / 26 + 1) / 2;
}

int CDialogLayout::AverageCharWidth(const QFontMetrics& metrics)
{
    return AverageCharWidth(
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")));
}

int CDialogLayout::MulDiv(int n, int nNumerator, int nDenominator)
{
    assert(nDenominator != 0);
    const std::int64_t product = static_cast<std::int64_t>(n) * nNumerator;
    const bool bNegative = (product < 0) != (nDenominator < 0);
    const std::int64_t magnitude = std::llabs(product);
    const std::int64_t divisor = std::llabs(static_cast<std::int64_t>(nDenominator));
    const std::int64_t quotient = (magnitude + divisor / 2) / divisor;
    return static_cast<int>(bNegative ? -quotient : quotient);
}

QRect CDialogLayout::MapRect(int x, int y, int cx, int cy) const
{
    const int left = MulDiv(x, m_nAvgCharWidth, 4);
    const int top = MulDiv(y, m_nCharHeight, 8);
    const int right = MulDiv(x + cx, m_nAvgCharWidth, 4);
    const int bottom = MulDiv(y + cy, m_nCharHeight, 8);
    return QRect(left, top, right - left, bottom - top);
}

QSize CDialogLayout::MapSize(int cx, int cy) const
{
    return MapRect(0, 0, cx, cy).size();
}

void CDialogLayout::SetUpDialog(QDialog& dlg, const QString& caption, int cx, int cy) const
{
    dlg.setWindowTitle(caption);
    dlg.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                       Qt::MSWindowsFixedSizeDialogHint);
    dlg.setFont(DialogFont());
    dlg.setModal(true);
    dlg.setSizeGripEnabled(false);
    dlg.setFixedSize(MapSize(cx, cy));
}

void CDialogLayout::Place(QWidget& widget, int x, int y, int cx, int cy) const
{
    widget.setGeometry(MapRect(x, y, cx, cy));
}

QLabel* CDialogLayout::AddText(QDialog& dlg, const QString& text, int x, int y, int cx, int cy,
                               Qt::Alignment horizontal) const
{
    auto* pLabel = new QLabel(&dlg);
    pLabel->setTextFormat(Qt::PlainText);
    pLabel->setAlignment(horizontal | Qt::AlignTop);
    pLabel->setText(text);
    Place(*pLabel, x, y, cx, cy);
    return pLabel;
}

QLabel* CDialogLayout::AddIcon(QDialog& dlg, int nIconId, int x, int y) const
{
    const int kIconPixels = 32;
    auto* pLabel = new QLabel(&dlg);
    QPixmap pixmap;
    if (const auto data = FindEmbeddedResource(CResourceType::Icon, nIconId, kIconPixels))
        pixmap.loadFromData(data->pData, static_cast<uint>(data->nSize), "PNG");
    pLabel->setPixmap(pixmap);
    pLabel->setGeometry(QRect(MapRect(x, y, 0, 0).topLeft(), QSize(kIconPixels, kIconPixels)));
    return pLabel;
}

QPushButton* CDialogLayout::AddButton(QDialog& dlg, const QString& text, int x, int y, int cx,
                                      int cy) const
{
    auto* pButton = new QPushButton(text, &dlg);
    Place(*pButton, x, y, cx, cy);
    return pButton;
}

QString CDialogLayout::OkText()
{
    return QString::fromUtf8(TXT_BUTTON_OK);
}

QFrame* CDialogLayout::AddEtched(QDialog& dlg, QFrame::Shape shape, int x, int y, int cx,
                                 int cy) const
{
    auto* pFrame = new QFrame(&dlg);
    pFrame->setFrameShape(shape);
    pFrame->setFrameShadow(QFrame::Sunken);
    Place(*pFrame, x, y, cx, cy);
    return pFrame;
}

QWidget* CDialogControls::Find(int nId) const
{
    for (const auto& [nControlId, pWidget] : m_controls) {
        if (nControlId == nId)
            return pWidget;
    }
    return nullptr;
}

QWidget* CDialogLayout::AddControl(QDialog& dlg, const QtUi::Control& control) const
{
    using QtUi::ControlKind;
    const int x = control.x;
    const int y = control.y;
    const int cx = control.cx;
    const int cy = control.cy;
    QWidget* pWidget = nullptr;
    switch (control.kind) {
    case ControlKind::Text: {
        QLabel* pLabel = AddText(dlg, QString::fromUtf8(control.pText), x, y, cx, cy, control.align);
        // A text with room for more than one line wraps at words.
        pLabel->setWordWrap(cy >= 2 * kLineUnits);
        pWidget = pLabel;
        break;
    }
    case ControlKind::Icon:
        pWidget = AddIcon(dlg, control.nIcon, x, y);
        break;
    case ControlKind::Button:
    case ControlKind::DefaultButton: {
        QPushButton* pButton = AddButton(dlg, QString::fromUtf8(control.pText), x, y, cx, cy);
        pButton->setDefault(control.kind == ControlKind::DefaultButton);
        if (control.nId == IDOK)
            QObject::connect(pButton, &QPushButton::clicked, &dlg, &QDialog::accept);
        else if (control.nId == IDCANCEL)
            QObject::connect(pButton, &QPushButton::clicked, &dlg, &QDialog::reject);
        pWidget = pButton;
        break;
    }
    case ControlKind::Edit:
        pWidget = new QLineEdit(&dlg);
        Place(*pWidget, x, y, cx, cy);
        break;
    case ControlKind::TextBox: {
        auto* pText = new QPlainTextEdit(&dlg);
        pText->setReadOnly(true);
        pText->setFocusPolicy(Qt::NoFocus);
        pText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        pText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        pText->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        // A read-only box shows the dialog's face, not the white of a field
        // that takes typing.
        QPalette palette = pText->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        pText->setPalette(palette);
        Place(*pText, x, y, cx, cy);
        pWidget = pText;
        break;
    }
    case ControlKind::Rule:
        pWidget = AddEtched(dlg, QFrame::HLine, x, y, cx, cy);
        break;
    case ControlKind::Frame:
        pWidget = AddEtched(dlg, QFrame::Box, x, y, cx, cy);
        break;
    }
    if (control.pName)
        pWidget->setObjectName(QString::fromLatin1(control.pName));
    // A template's earlier controls lie on top of its later ones.
    pWidget->lower();
    return pWidget;
}
