#pragma once
// Records of a multi-wavelength meter: one card per record with up to five
// readings side by side; powers out of the meter's range read "Low"/"High".

#include "link/opmitemdata.h"
#include "views/baseformlogic.h"
#include "views/items.h"

#include <QPointer>
#include <QWidget>

class MultiWaveOpmItem;

namespace Ui {
class MultiWaveOpmForm;
}

class MultiWaveOpmForm : public QWidget, public BaseFormLogic
{
    Q_OBJECT
    Q_INTERFACES(BaseFormLogic)
public:
    explicit MultiWaveOpmForm(QWidget *parent = nullptr);
    ~MultiWaveOpmForm() override;

    int currentPage() override;
    void setCurrentPage(int page) override;
    Frame *frame() override;
    // Records stored so far: the main window adds the one when it asks the
    // meter for the next record.
    int nextItemNumber() override;
    void fillDatas() override;
    void createFrame() override;
    void clearDatas() override;
    int itemCount() const override;

    // `collapsed`: the record came in an answer with code 0x17; its card,
    // when drawn now, takes no height.
    void addItemData(const OpmItemData &data, bool collapsed = false);
    void addOneRow(int index, const OpmItemData &data, bool collapsed = false);
    void saveDatas(const QString &dir);

    Items<OpmItemData> items;

public slots:
    void gotoPage(int page) override;

private:
    void deleteCards();

    Ui::MultiWaveOpmForm *ui;
    // Cards of the page shown; the list owns them.
    QList<QPointer<QWidget>> cards;
};
