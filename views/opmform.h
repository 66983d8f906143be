#pragma once
// Records of a single-wavelength meter: one table row per record with its
// number, name, time and first reading.

#include "link/opmitemdata.h"
#include "link/opmvalueframe.h"
#include "views/recordpage.h"

#include <QWidget>

namespace Ui {
class OpmForm;
}

class OpmForm : public QWidget,
    public virtual BaseFormLogic,
    public RecordPage<OpmItemData, OpmValueFrame>
{
    Q_OBJECT
    Q_INTERFACES(BaseFormLogic)
public:
    explicit OpmForm(QWidget *parent = nullptr);
    ~OpmForm() override;

    void fillDatas() override;

public slots:
    void gotoPage(int page) override { RecordPage::gotoPage(page); }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void drawRecord(int row, const OpmItemData &data, bool collapsed) override;
    void clearPage() override;
    void clearView() override;
    void pageDrawn() override;
    bool writeReport(const QList<OpmItemData> &records, const QString &dir) override;
    void traceDraw(int row) override;

private:
    void setHeaderLabels();
    void setNarrowResizeModes();
    void setWideResizeModes();

    Ui::OpmForm *ui;
};
