#pragma once
// A cell format of one XlsxDocument. The document creates and owns the
// underlying format; this is a light handle to it, valid while the document
// lives. A default-constructed handle means "no format".

#include <QtGlobal>

struct lxw_format;

class XlsxFormat
{
public:
    XlsxFormat() = default;

    bool isValid() const { return format != nullptr; }

    void setBorderStyleThin();
    void setVerticalAlignmentCenter();
    void setHorizontalAlignmentCenter();
    // A solid pattern in this colour, 0xRRGGBB (a plain number rather than a
    // QColor, so that the report writers need no Qt Gui).
    void setPatternBackgroundColor(quint32 rgb);

private:
    friend class XlsxDocument;
    explicit XlsxFormat(lxw_format *handle) : format(handle) {}

    lxw_format *format = nullptr;
};
