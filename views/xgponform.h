#pragma once
// Records of an XG-PON meter: one card per record with up to five readings
// side by side, shown exactly as the meter reports them.

#include "link/ponopmitemdata.h"
#include "views/baseformlogic.h"
#include "views/items.h"

#include <QPointer>
#include <QWidget>

class XGPonItem;

namespace Ui {
class XGPonForm;
}

class XGPonForm : public QWidget, public BaseFormLogic
{
    Q_OBJECT
    Q_INTERFACES(BaseFormLogic)
public:
    explicit XGPonForm(QWidget *parent = nullptr);
    ~XGPonForm() override;

    int currentPage() override;
    void setCurrentPage(int page) override;
    Frame *frame() override;
    int nextItemNumber() override;
    void fillDatas() override;
    void createFrame() override;
    void clearDatas() override;
    int itemCount() const override;

    void addItemData(const PonOpmItemData &data);
    void addOneRow(int index, const PonOpmItemData &data);
    void saveDatas(const QString &dir);

    Items<PonOpmItemData> items;

public slots:
    void gotoPage(int page) override;

private:
    void deleteCards();

    Ui::XGPonForm *ui;
    // Cards of the page shown; the list owns them.
    QList<QPointer<QWidget>> cards;
};
