#include "widgets/pagewidget.h"
#include "ui_pagewidget.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace {

// Up to this many pages every page has its own button; from here on the row
// shows a window of numbered buttons between ellipses.
constexpr int kAllButtonsBelow = 8;
// Layout positions of the fixed widgets the numbered buttons go next to.
constexpr int kFirstButtonPosition = 2;
constexpr int kAfterBeforeEllipsis = 4;
constexpr int kButtonMinimumSize = 20;
const char kPageButtonStyle[] = "QPushButton{ font-family:'Arial';font-size:16px;}";

} // namespace

PageWidget::PageWidget(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::PageWidget)
{
    ui->setupUi(this);
    buttonLayout = ui->horizontalLayout;
    // "<<" and ">>" say nothing to a screen reader.
    ui->preBtn->setToolTip(tr("Previous page"));
    ui->preBtn->setAccessibleName(tr("Previous page"));
    ui->nextBtn->setToolTip(tr("Next page"));
    ui->nextBtn->setAccessibleName(tr("Next page"));
    connect(ui->firstBtn, &QPushButton::clicked, this, &PageWidget::onPageButtonChecked);
    connect(ui->lastBtn, &QPushButton::clicked, this, &PageWidget::onPageButtonChecked);
}

PageWidget::~PageWidget()
{
    delete ui;
}

void PageWidget::setPageCount(int value)
{
    pageCount = value;
    rebuild();
}

int PageWidget::returncurrentPage()
{
    return currentPage;
}

void PageWidget::reSetcurrentPage()
{
    currentPage = 1;
}

void PageWidget::removePageButtons()
{
    // The button being clicked may be among these: it is only taken out of
    // the row here and destroyed once its click has been handled.
    while (!pageButtons.isEmpty()) {
        QPushButton *button = pageButtons.takeFirst();
        disconnect(button, &QPushButton::clicked, this, &PageWidget::onPageButtonChecked);
        buttonLayout->removeWidget(button);
        button->hide();
        button->deleteLater();
    }
}

void PageWidget::addPageButton(int page, int layoutPosition)
{
    auto *button = new QPushButton(QString::number(page), this);
    button->setCheckable(true);
    button->setStyleSheet(QString::fromLatin1(kPageButtonStyle));
    button->setMinimumSize(kButtonMinimumSize, kButtonMinimumSize);
    connect(button, &QPushButton::clicked, this, &PageWidget::onPageButtonChecked);
    buttonLayout->insertWidget(layoutPosition, button);
    button->show();
    pageButtons.append(button);
}

void PageWidget::rebuild()
{
    if (pageCount < 2) {
        removePageButtons();
        hide();
        return;
    }
    show();
    ui->lastBtn->setText(QString::number(pageCount));

    const int n = pageCount;
    const int c = currentPage;
    const bool windowed = n >= kAllButtonsBelow;
    int from;
    int to;
    int position;
    if (!windowed) {
        ui->beforeEllipsisLabel->hide();
        ui->afterEllipsisLabel->hide();
        from = 2;
        to = n - 1;
        position = kFirstButtonPosition + 1;
    } else {
        ui->afterEllipsisLabel->setVisible(n - c > 3);
        ui->beforeEllipsisLabel->setVisible(c > 4);
        if (c < 5) {
            from = 2;
            to = 5;
        } else if (c >= n - 3) {
            from = n - 5;
            to = n - 1;
        } else {
            from = c - 1;
            to = c + 1;
        }
        position = kAfterBeforeEllipsis;
    }

    // The same numbered buttons in the same places (as while a download adds
    // pages behind the first one) are kept rather than made anew.
    bool same = windowed == buttonsWindowed && pageButtons.size() == qMax(0, to - from + 1);
    for (int i = 0; same && i < pageButtons.size(); ++i)
        same = pageButtons.at(i)->text() == QString::number(from + i);
    if (!same) {
        removePageButtons();
        for (int page = from; page <= to; ++page)
            addPageButton(page, position++);
        buttonsWindowed = windowed;
    }

    // Exactly the current page's button stays checked. This also holds with
    // two pages, where there is no numbered button to walk.
    ui->firstBtn->setChecked(c <= 1);
    ui->lastBtn->setChecked(c == n && c > 1);
    for (QPushButton *button : qAsConst(pageButtons))
        button->setChecked(c > 1 && c != n && button->text().toInt() == c);
}

void PageWidget::markFirstAndLast()
{
    ui->firstBtn->setChecked(currentPage == 1);
    ui->lastBtn->setChecked(currentPage == pageCount);
}

void PageWidget::onPageButtonChecked(bool)
{
    auto *button = qobject_cast<QPushButton *>(sender());
    if (!button)
        return;
    bool isNumber = false;
    const int page = button->text().toInt(&isNumber);
    if (!isNumber)
        return;

    if (page == currentPage) {
        // A checkable button unchecks itself on the click; the page stays.
        button->setChecked(true);
        return;
    }

    if (page == 1) {
        ui->firstBtn->setChecked(true);
        ui->lastBtn->setChecked(false);
        for (QPushButton *numbered : qAsConst(pageButtons))
            numbered->setChecked(false);
    } else if (page == pageCount) {
        ui->firstBtn->setChecked(false);
        ui->lastBtn->setChecked(true);
        for (QPushButton *numbered : qAsConst(pageButtons))
            numbered->setChecked(false);
    } else {
        ui->firstBtn->setChecked(false);
        ui->lastBtn->setChecked(false);
        for (QPushButton *numbered : qAsConst(pageButtons)) {
            if (numbered != button)
                numbered->setChecked(false);
        }
    }

    currentPage = page;
    emit gotoPage(page);
    rebuild();
}

void PageWidget::on_nextBtn_clicked()
{
    if (currentPage < pageCount) {
        ++currentPage;
        rebuild();
        emit gotoPage(currentPage);
    }
    markFirstAndLast();
}

void PageWidget::on_preBtn_clicked()
{
    ui->lastBtn->setChecked(false);
    if (currentPage >= 2) {
        --currentPage;
        rebuild();
        emit gotoPage(currentPage);
    }
    markFirstAndLast();
}

void PageWidget::jumpToTypedPage()
{
    bool isNumber = false;
    const int page = ui->lineEdit->text().toInt(&isNumber, 10);
    if (isNumber && page > 0 && page <= pageCount) {
        currentPage = page;
        rebuild();
        emit gotoPage(currentPage);
        markFirstAndLast();
    }
    ui->lineEdit->clear();
}

void PageWidget::on_lineEdit_editingFinished()
{
    jumpToTypedPage();
}

void PageWidget::on_okButton_clicked()
{
    jumpToTypedPage();
}
