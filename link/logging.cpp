#include "link/logging.h"

Q_LOGGING_CATEGORY(lcLink, "lumisk.link")
Q_LOGGING_CATEGORY(lcViews, "lumisk.views")
Q_LOGGING_CATEGORY(lcApp, "lumisk.app")
Q_LOGGING_CATEGORY(lcHistory, "lumisk.history")
