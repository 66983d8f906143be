#pragma once
// Records of a PON meter: one table row per record with the 1310, 1490 and
// 1550 nm readings, each in its own cell with power, reference and verdict.

#include "link/ponopmitemdata.h"
#include "views/baseformlogic.h"
#include "views/items.h"

#include <QPointer>
#include <QWidget>

namespace Ui {
class PonOpmForm;
}

class PonOpmForm : public QWidget, public BaseFormLogic
{
    Q_OBJECT
    Q_INTERFACES(BaseFormLogic)
public:
    explicit PonOpmForm(QWidget *parent = nullptr);
    ~PonOpmForm() override;

    int currentPage() override;
    void setCurrentPage(int page) override;
    Frame *frame() override;
    int nextItemNumber() override;
    void fillDatas() override;
    void createFrame() override;
    void clearDatas() override;
    int itemCount() const override;

    void addItemData(const PonOpmItemData &data);
    void addOneRow(int row, const PonOpmItemData &data);
    void saveDatas(const QString &dir);

    Items<PonOpmItemData> items;

public slots:
    void gotoPage(int page) override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void setHeaderLabels();

    void deleteCellWidgets();

    Ui::PonOpmForm *ui;
    // Cell widgets of the page shown; the table owns them.
    QList<QPointer<QWidget>> cellWidgets;
};
