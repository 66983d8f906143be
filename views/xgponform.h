#pragma once
// Records of an XG-PON meter: one card per record with up to five readings
// side by side, shown exactly as the meter reports them.

#include "domain/ponclasscheck.h"
#include "link/ponframe.h"
#include "link/ponopmitemdata.h"
#include "views/recordpage.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class XGPonItem;

namespace Ui {
class XGPonForm;
}

class XGPonForm : public QWidget,
    public virtual BaseFormLogic,
    public RecordPage<PonOpmItemData, PonFrame>
{
    Q_OBJECT
    Q_INTERFACES(BaseFormLogic)
public:
    explicit XGPonForm(QWidget *parent = nullptr);
    ~XGPonForm() override;

    // Reads the XG-PON or XGS-PON class from the settings again and shows every
    // reading's verdict against it (tooltips, power colours, the line above
    // the records).
    void reloadClassCheck();
    void applyClassCheck(const PonClassCheck &classCheck);
    const PonClassCheck &classCheck() const { return check; }

public slots:
    void gotoPage(int page) override { RecordPage::gotoPage(page); }

protected:
    void drawRecord(int index, const PonOpmItemData &data, bool collapsed) override;
    void clearPage() override;
    void clearView() override;
    bool writeReport(const QList<PonOpmItemData> &records, const QString &dir) override;
    void recordStored(const PonOpmItemData &record) override;

private:
    void showClassSummary();

    PonClassCheck check;
    PonClassCheck::Tally tally;
    QLabel *classSummaryLabel = nullptr;
    void deleteCards();

    Ui::XGPonForm *ui;
    // Cards of the page shown; the list owns them.
    QList<QPointer<QWidget>> cards;
};
