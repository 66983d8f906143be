#pragma once
// Records of a partial-wavelength (pass/fail) meter: one table row per
// record with its one or two wavelengths, their values and verdict icons.

#include "link/opmitemdata.h"
#include "link/partialopmvalueframe.h"
#include "views/recordpage.h"

#include <QPointer>
#include <QWidget>

namespace Ui {
class PartialOpmForm;
}

class PartialOpmForm : public QWidget,
    public virtual BaseFormLogic,
    public RecordPage<OpmItemData, PartialOpmValueFrame>
{
    Q_OBJECT
    Q_INTERFACES(BaseFormLogic)
public:
    explicit PartialOpmForm(QWidget *parent = nullptr);
    ~PartialOpmForm() override;

public slots:
    void gotoPage(int page) override { RecordPage::gotoPage(page); }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void drawRecord(int row, const OpmItemData &data, bool collapsed) override;
    void clearPage() override;
    void clearView() override;
    void pageDrawn() override;
    bool writeReport(const QList<OpmItemData> &records, const QString &dir) override;

private:
    void setHeaderLabels();
    void setNarrowResizeModes();
    void setWideResizeModes();

    void deleteCellWidgets();

    Ui::PartialOpmForm *ui;
    // Cell widgets of the page shown; the table owns them.
    QList<QPointer<QWidget>> cellWidgets;
};
