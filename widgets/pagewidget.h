#pragma once
// The row of page controls under a record view: first, previous, a few
// numbered pages with ellipses, last, next and a box to type a page number.
// It holds only the page count and the current page; the view's record store
// drives it through setPageCount and follows it through gotoPage.

#include <QList>
#include <QWidget>

class QHBoxLayout;
class QPushButton;

namespace Ui {
class PageWidget;
}

class PageWidget : public QWidget
{
    Q_OBJECT

public:
    explicit PageWidget(QWidget *parent = nullptr);
    ~PageWidget() override;

    int getPageCount() const { return pageCount; }
    int getCurrentPage() const { return currentPage; }

signals:
    void gotoPage(int pageNum);

public slots:
    void setPageCount(int value);
    int returncurrentPage();
    void reSetcurrentPage();

private slots:
    void onPageButtonChecked(bool checked);
    void on_preBtn_clicked();
    void on_nextBtn_clicked();
    void on_lineEdit_editingFinished();
    void on_okButton_clicked();

private:
    void rebuild();
    void removePageButtons();
    void addPageButton(int page, int layoutPosition);
    void markFirstAndLast();
    void jumpToTypedPage();

    Ui::PageWidget *ui;
    int pageCount = 1;
    int currentPage = 1;
    QList<QPushButton *> pageButtons;
    QHBoxLayout *buttonLayout = nullptr;
    bool buttonsWindowed = false; // the numbered buttons sit between the ellipses
};
