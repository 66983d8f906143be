#pragma once
// Records of a multi-wavelength meter: one card per record with up to five
// readings side by side; powers out of the meter's range read "Low"/"High".

#include "link/opmitemdata.h"
#include "link/opmvalueframe.h"
#include "views/recordpage.h"

#include <QPointer>
#include <QWidget>

class MultiWaveOpmItem;

namespace Ui {
class MultiWaveOpmForm;
}

class MultiWaveOpmForm : public QWidget,
    public virtual BaseFormLogic,
    public RecordPage<OpmItemData, OpmValueFrame>
{
    Q_OBJECT
    Q_INTERFACES(BaseFormLogic)
public:
    explicit MultiWaveOpmForm(QWidget *parent = nullptr);
    // nextItemNumber() is the number of records stored so far: the main
    // window adds the one when it asks the meter for the next record.
    ~MultiWaveOpmForm() override;

    void fillDatas() override;

public slots:
    void gotoPage(int page) override { RecordPage::gotoPage(page); }

protected:
    // `collapsed`: the record came in an answer with code 0x17; its card,
    // drawn as it arrives, takes no height.
    void drawRecord(int index, const OpmItemData &data, bool collapsed) override;
    void clearPage() override;
    void clearView() override;
    bool writeReport(const QList<OpmItemData> &records, const QString &dir) override;
    bool arrivesCollapsed(const OpmValueFrame &frame) const override;
    void traceAppend() override;
    void traceDraw(int index) override;

private:
    void deleteCards();

    Ui::MultiWaveOpmForm *ui;
    // Cards of the page shown; the list owns them.
    QList<QPointer<QWidget>> cards;
};
