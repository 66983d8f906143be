#pragma once
// Records of a single-wavelength meter: one table row per record with its
// number, name, time and first reading.

#include "link/opmitemdata.h"
#include "views/baseformlogic.h"
#include "views/items.h"

#include <QWidget>

namespace Ui {
class OpmForm;
}

class OpmForm : public QWidget, public BaseFormLogic
{
    Q_OBJECT
    Q_INTERFACES(BaseFormLogic)
public:
    explicit OpmForm(QWidget *parent = nullptr);
    ~OpmForm() override;

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

    Ui::OpmForm *ui;
};
