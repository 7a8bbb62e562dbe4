// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <Qt>

class QDialog;
class QFontMetrics;
class QFrame;
class QLabel;
class QPushButton;
class QWidget;

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

    void Place(QWidget& widget, int x, int y, int cx, int cy) const;
    // Static text, shown as given (no markup), top-aligned like a label.
    QLabel* AddText(QDialog& dlg, const QString& text, int x, int y, int cx, int cy,
                    Qt::Alignment horizontal = Qt::AlignLeft) const;
    // An icon keeps its own pixel size; only its corner comes from the units.
    QLabel* AddIcon(QDialog& dlg, int nIconId, int x, int y) const;
    QPushButton* AddButton(QDialog& dlg, const QString& text, int x, int y, int cx, int cy) const;
    // The dialog's OK button (id 1) with OkText(), 50 x 14 units, the default
    // button, accepting the dialog through its own accept().
    QPushButton* AddOkButton(QDialog& dlg, int x, int y) const;
    // The text of every OK button, message boxes' included.
    static QString OkText();
    // A horizontal rule, or a frame when cy is more than one unit, drawn
    // sunken in the dialog's background.
    QFrame* AddEtched(QDialog& dlg, int x, int y, int cx, int cy) const;

private:
    explicit CDialogLayout(const QFontMetrics& metrics);

    int m_nAvgCharWidth;
    int m_nCharHeight;
};
