#pragma once
// Looks shared by every record page: the alternating row colours and the
// verdict icons the meter's pass/warning/fail codes map to.

#include <QColor>
#include <QString>

namespace recordstyle {

// Odd rows are tinted, even rows white.
inline QColor rowColor(int row)
{
    return (row % 2) ? QColor(242, 242, 239) : QColor(Qt::white);
}

// The same colours as a style sheet, for cell widgets and cards.
inline QString rowBackgroundStyle(bool odd)
{
    return odd ? QStringLiteral("background-color: rgb(242, 242, 239);")
               : QStringLiteral("background-color: White;");
}

// Row background with the grey text of the value cells.
inline QString greyTextCellStyle(bool odd)
{
    return rowBackgroundStyle(odd) + QStringLiteral("color: rgb(153, 153, 153);");
}

// Verdict codes as the meter sends them.
constexpr int VerdictPass = 0;
constexpr int VerdictWarning = 1;
constexpr int VerdictFail = 2;

// Style sheet showing the verdict's icon; empty for a code the meter does not
// define (the caller then shows no icon).
inline QString verdictStyle(int verdict)
{
    switch (verdict) {
    case VerdictPass:
        return QStringLiteral("image: url(:/img/pass.png);");
    case VerdictWarning:
        return QStringLiteral("image: url(:/img/warn.png);");
    case VerdictFail:
        return QStringLiteral("image: url(:/img/not_pass.png);");
    default:
        return QString();
    }
}

} // namespace recordstyle
