#pragma once
// A cell format of one XlsxDocument. The document creates and owns the
// underlying format; this is a light handle to it, valid while the document
// lives. A default-constructed handle means "no format".

#include <QColor>

struct lxw_format;

class XlsxFormat
{
public:
    XlsxFormat() = default;

    bool isValid() const { return format != nullptr; }

    void setBorderStyleThin();
    void setVerticalAlignmentCenter();
    void setHorizontalAlignmentCenter();
    // A solid pattern in this colour.
    void setPatternBackgroundColor(const QColor &color);

private:
    friend class XlsxDocument;
    explicit XlsxFormat(lxw_format *handle) : format(handle) {}

    lxw_format *format = nullptr;
};
