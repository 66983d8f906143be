#pragma once
// Paged record store of a record page: records in arrival order, split into
// pages of ITEMS_PER_PAGE. Every page but the last is full and no page is ever
// empty, so the count follows from the number of pages and the last page.

#include "link/logging.h"
#include "views/agent.h"

#include <QList>
#include <vector>

constexpr int ITEMS_PER_PAGE = 100;

template<typename T>
class Items : public Agent
{
public:
    explicit Items(QObject *parent = nullptr)
        : Agent(parent)
    {
    }

    int itemCount() const
    {
        if (pages.empty())
            return 0;
        return int(pages.size() - 1) * ITEMS_PER_PAGE + int(pages.back().size());
    }

    int pageCount() const { return int(pages.size()); }

    // Records of page `page` (1-based); nullptr for a page that does not exist.
    const std::vector<T> *page(int page) const
    {
        if (page < 1 || page > pageCount())
            return nullptr;
        return &pages[size_t(page - 1)];
    }

    const std::vector<T> &lastPage() const { return pages.back(); }

    // Appends a copy of the record. Returns true when it started a new page.
    bool append(const T &record)
    {
        if (!pages.empty() && int(pages.back().size()) < ITEMS_PER_PAGE) {
            pages.back().push_back(record);
            return false;
        }
        // A new page never moves the view: it stays on the page it shows (the
        // first one while a download starts).
        if (currentPage == 0)
            currentPage = 1;
        pages.emplace_back();
        pages.back().reserve(ITEMS_PER_PAGE);
        pages.back().push_back(record);
        qCDebug(lcViews) << "append" << pageCount();
        emit pageCountChanged(pageCount());
        return true;
    }

    QList<T> allItems() const
    {
        QList<T> all;
        all.reserve(itemCount());
        for (const auto &p : pages)
            for (const T &record : p)
                all.append(record);
        return all;
    }

    void clearItems()
    {
        while (!pages.empty())
            pages.pop_back();
        currentPage = 0;
        emit pageCountChanged(0);
    }

    std::vector<std::vector<T>> pages;
    int currentPage = 0;
};
