#pragma once
// The program's log categories: the link (transport, worker and answer
// frames), the record pages, the window and the measurement history. A line
// can be switched off per category, e.g. QT_LOGGING_RULES="lumisk.link.debug=false".

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLink)
Q_DECLARE_LOGGING_CATEGORY(lcViews)
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcHistory)
