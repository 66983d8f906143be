// The heavy display font of the page buttons. Kept apart from the rest of
// Configuration because it needs Qt Gui, which the command-line tool never
// links.

#include "domain/configuration.h"

#include <QFontDatabase>

namespace {
constexpr char HeavyFontResource[] = ":/font/ALIBABA-PUHUITI-HEAVY.ttf";
QString heavyFamily;
} // namespace

QString Configuration::registerHeavyFont()
{
    const int id = QFontDatabase::addApplicationFont(QLatin1String(HeavyFontResource));
    const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    heavyFamily = families.isEmpty() ? QString() : families.first();
    return heavyFamily;
}

QString Configuration::heavyFontFamily()
{
    return heavyFamily;
}
