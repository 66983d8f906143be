#include "app/windowlayout.h"

#include "domain/configuration.h"
#include "link/logging.h"

#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace {
// The opening size where the screen has room for it.
constexpr int PreferredWindowWidth = 1220;
constexpr int PreferredWindowHeight = 740;
constexpr double ScreenShare = 0.95;
constexpr int MaxPageButtonPointSize = 11;
// opmBtn's design size, at which the page buttons use PageButtonPointSize.
constexpr float PageButtonDesignWidth = 123.0f;
constexpr float PageButtonDesignHeight = 28.0f;
constexpr int HeavyWeight = 75;
const char *const HeavyFamilyFallback = "Alibaba PuHuiTi Heavy";

QString heavyFamily()
{
    const QString family = Configuration::heavyFontFamily();
    return family.isEmpty() ? QString::fromLatin1(HeavyFamilyFallback) : family;
}

class FontKeeper : public QObject
{
public:
    FontKeeper(QWidget *window, QPushButton *reference, std::function<QList<QPushButton *>()> buttons)
        : QObject(window), window(window), reference(reference), buttons(std::move(buttons))
    {
        window->installEventFilter(this);
        reference->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if ((watched == window || watched == reference) && event->type() == QEvent::Resize)
            WindowLayout::applyPageButtonFont(buttons(), WindowLayout::pageButtonPointSize(reference));
        return false;
    }

private:
    QWidget *window;
    QPushButton *reference;
    std::function<QList<QPushButton *>()> buttons;
};
} // namespace

namespace WindowLayout {

void fitInitialSize(QWidget *window)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize available = screen->availableSize();
    const int width = qMin(PreferredWindowWidth, int(available.width() * ScreenShare));
    const int height = qMin(PreferredWindowHeight, int(available.height() * ScreenShare));
    window->resize(qMax(width, window->width()), qMax(height, window->height()));
}

int pageButtonPointSize(const QPushButton *button)
{
    const QSize size = button->size();
    const int byWidth = int(float(size.width()) / PageButtonDesignWidth * float(PageButtonPointSize));
    const int byHeight = int(float(size.height()) / PageButtonDesignHeight * float(PageButtonPointSize));
    const int pointSize = qMin(qMin(byWidth, byHeight), MaxPageButtonPointSize);
    qCDebug(lcApp) << "zihao:" << pointSize;
    // A button not laid out yet has no size; a point size must be positive.
    return pointSize < 1 ? PageButtonPointSize : pointSize;
}

void applyPageButtonFont(const QList<QPushButton *> &buttons, int pointSize)
{
    const QFont font(heavyFamily(), pointSize, HeavyWeight, false);
    for (QPushButton *button : buttons)
        button->setFont(font);
}

void keepPageButtonFont(QWidget *window, QPushButton *reference, std::function<QList<QPushButton *>()> buttons)
{
    new FontKeeper(window, reference, std::move(buttons));
}

} // namespace WindowLayout
