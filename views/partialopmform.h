#pragma once
// Records of a partial-wavelength (pass/fail) meter: one table row per
// record with its one or two wavelengths, their values and verdict icons.

#include "link/opmitemdata.h"
#include "views/baseformlogic.h"
#include "views/items.h"

#include <QPointer>
#include <QWidget>

namespace Ui {
class PartialOpmForm;
}

class PartialOpmForm : public QWidget, public BaseFormLogic
{
    Q_OBJECT
    Q_INTERFACES(BaseFormLogic)
public:
    explicit PartialOpmForm(QWidget *parent = nullptr);
    ~PartialOpmForm() override;

    int currentPage() override;
    void setCurrentPage(int page) override;
    Frame *frame() override;
    int nextItemNumber() override;
    void fillDatas() override;
    void createFrame() override;
    void clearDatas() override;
    int itemCount() const override;

    void addItemData(const OpmItemData &data);
    void addOneRow(int row, const OpmItemData &data);
    void saveDatas(const QString &dir);

    Items<OpmItemData> items;

public slots:
    void gotoPage(int page) override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void setHeaderLabels();
    void setNarrowResizeModes();
    void setWideResizeModes();

    void deleteCellWidgets();

    Ui::PartialOpmForm *ui;
    // Cell widgets of the page shown; the table owns them.
    QList<QPointer<QWidget>> cellWidgets;
};
