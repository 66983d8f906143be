#pragma once
// Records of a PON meter: one table row per record with the 1310, 1490 and
// 1550 nm readings, each in its own cell with power, reference and verdict.

#include "domain/ponclasscheck.h"
#include "link/ponframe.h"
#include "link/ponopmitemdata.h"
#include "views/recordpage.h"

#include <QPointer>
#include <QWidget>

class QLabel;

namespace Ui {
class PonOpmForm;
}

class PonOpmForm : public QWidget,
    public virtual BaseFormLogic,
    public RecordPage<PonOpmItemData, PonFrame>
{
    Q_OBJECT
    Q_INTERFACES(BaseFormLogic)
public:
    explicit PonOpmForm(QWidget *parent = nullptr);
    ~PonOpmForm() override;

    // Reads the GPON class from the settings again and shows every reading's
    // verdict against it (tooltips, power colours, the line above the records).
    void reloadClassCheck();
    void applyClassCheck(const PonClassCheck &classCheck);
    const PonClassCheck &classCheck() const { return check; }

public slots:
    void gotoPage(int page) override { RecordPage::gotoPage(page); }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void drawRecord(int row, const PonOpmItemData &data, bool collapsed) override;
    void clearPage() override;
    void clearView() override;
    void pageDrawn() override;
    bool writeReport(const QList<PonOpmItemData> &records, const QString &dir) override;
    void recordStored(const PonOpmItemData &record) override;

private:
    void showClassSummary();

    PonClassCheck check;
    PonClassCheck::Tally tally;
    QLabel *classSummaryLabel = nullptr;
    void setHeaderLabels();

    void deleteCellWidgets();

    Ui::PonOpmForm *ui;
    // Cell widgets of the page shown; the table owns them.
    QList<QPointer<QWidget>> cellWidgets;
};
