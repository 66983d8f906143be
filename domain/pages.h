#pragma once
// The main window's pages and which of them a meter offers.

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

class BaseFormLogic;
class QPushButton;
class QWidget;
struct DevDatas;

// The page shown in the main window. The meter and the settings know pages by
// their integers (0 none, 1 single-wave ... 7 chart); inside the program they
// are this type.
enum class PageType { None = 0, Opm, MultiWave, Partial, Pon, XGPon, Fttx, Chart };

// Pages whose records are downloaded one by one (the FTTx page has none).
inline bool hasRecords(PageType type)
{
    return type >= PageType::Opm && type <= PageType::XGPon;
}

// The pages the main window offers for a freshly identified meter, in button
// order. A meter without record pages offers only the chart; otherwise its
// kind decides, and the chart comes with every range-coded meter (kind 9
// excepted, which never has it).
QList<PageType> pagesFor(const DevDatas &identity);

// One page of the main window: its button, what it shows, and for the pages
// that download, how the meter is asked.
struct PageEntry {
    PageType type = PageType::None;
    QPushButton *button = nullptr;
    QWidget *widget = nullptr;
    // The record store the download fills; null on the FTTx page and the chart.
    BaseFormLogic *records = nullptr;
    QByteArray (*countRequest)() = nullptr;
    QByteArray (*recordRequest)(int number) = nullptr;
    // Added to the page's next record number (the multi-wave page counts from 0).
    int numberOffset = 0;
    // Writes the page's report into a folder; empty where there is none.
    std::function<void(const QString &)> save;
};

// The entry of this page in a page table; an empty entry when there is none.
const PageEntry &pageIn(const QList<PageEntry> &pages, PageType type);
