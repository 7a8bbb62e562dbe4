// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QFrame>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <Qt>
#include <cstddef>
#include <utility>
#include <vector>

#include "QtMenusAndDialogs.h"

class QDialog;
class QFontMetrics;
class QLabel;
class QPushButton;

// The controls a dialog's description made, found by their ids.
class CDialogControls {
public:
    void Add(int nId, QWidget* pWidget) { m_controls.emplace_back(nId, pWidget); }
    // The first control with the id; null if there is none, or, from Get,
    // if it is no T.
    QWidget* Find(int nId) const;
    template <class T>
    T* Get(int nId) const
    {
        return qobject_cast<T*>(Find(nId));
    }

private:
    std::vector<std::pair<int, QWidget*>> m_controls;
};

// Builds a dialog the way its template describes it: positions and sizes in
// dialog units, which scale with the dialog font so that the text always
// fits its controls. A horizontal unit is a quarter of the font's average
// character width, a vertical unit an eighth of its height.
class CDialogLayout {
public:
    CDialogLayout(int nAvgCharWidth, int nCharHeight);
    // The units of the dialog font.
    CDialogLayout();

    // The templates ask for 9-point SimSun; without it, the system's Chinese
    // sans-serif font at the same size.
    static QFont DialogFont();
    // Average width as the classic dialog code measures it: the width of the
    // 52 Latin letters over 52, rounded half up.
    static int AverageCharWidth(int nAlphabetWidth);
    static int AverageCharWidth(const QFontMetrics& metrics);
    // n * nNumerator / nDenominator, rounded half away from zero, without
    // overflow in between.
    static int MulDiv(int n, int nNumerator, int nDenominator);

    int AvgCharWidth() const { return m_nAvgCharWidth; }
    int CharHeight() const { return m_nCharHeight; }

    // Corners are converted, not the size, so that controls which meet in
    // dialog units also meet in pixels.
    QRect MapRect(int x, int y, int cx, int cy) const;
    QSize MapSize(int cx, int cy) const;

    // Caption, font, a fixed client area of cx x cy units, modal frame with a
    // close box and nothing else in the title bar.
    void SetUpDialog(QDialog& dlg, const QString& caption, int cx, int cy) const;

    // Sets the dialog up as its description says and makes its controls in
    // order, each below the ones before it as a template stacks them. The
    // OK and Cancel buttons accept and reject the dialog.
    template <std::size_t N>
    CDialogControls Build(QDialog& dlg, const QtUi::Dialog<N>& description) const
    {
        SetUpDialog(dlg, QString::fromUtf8(description.pCaption), description.cx, description.cy);
        CDialogControls controls;
        for (const QtUi::Control& control : description.controls)
            controls.Add(control.nId, AddControl(dlg, control));
        return controls;
    }

    void Place(QWidget& widget, int x, int y, int cx, int cy) const;
    // Static text, shown as given (no markup), top-aligned like a label.
    QLabel* AddText(QDialog& dlg, const QString& text, int x, int y, int cx, int cy,
                    Qt::Alignment horizontal = Qt::AlignLeft) const;
    // An icon keeps its own pixel size; only its corner comes from the units.
    QLabel* AddIcon(QDialog& dlg, int nIconId, int x, int y) const;
    QPushButton* AddButton(QDialog& dlg, const QString& text, int x, int y, int cx, int cy) const;
    // The text of every OK button, message boxes' included.
    static QString OkText();

private:
    explicit CDialogLayout(const QFontMetrics& metrics);

    QWidget* AddControl(QDialog& dlg, const QtUi::Control& control) const;
    // A horizontal rule or a frame, drawn sunken in the dialog's background.
    QFrame* AddEtched(QDialog& dlg, QFrame::Shape shape, int x, int y, int cx, int cy) const;

    int m_nAvgCharWidth;
    int m_nCharHeight;
};
