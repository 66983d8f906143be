#include "report/xlsxformat.h"

#include <xlsxwriter.h>

void XlsxFormat::setBorderStyleThin()
{
    if (format)
        format_set_border(format, LXW_BORDER_THIN);
}

void XlsxFormat::setVerticalAlignmentCenter()
{
    if (format)
        format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
}

void XlsxFormat::setHorizontalAlignmentCenter()
{
    if (format)
        format_set_align(format, LXW_ALIGN_CENTER);
}

void XlsxFormat::setPatternBackgroundColor(quint32 rgb)
{
    if (!format)
        return;
    format_set_pattern(format, LXW_PATTERN_SOLID);
    format_set_bg_color(format, static_cast<lxw_color_t>(rgb & 0xFFFFFF));
}
