#include "views/partialopmwave.h"

#include "ui_partialopmwave.h"
#include "widgets/plaintextlabels.h"

PartialopmWave::PartialopmWave(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::PartialopmWave)
{
    ui->setupUi(this);
    showLabelsAsPlainText(this);
}

PartialopmWave::~PartialopmWave()
{
    delete ui;
}

QLabel *PartialopmWave::powerLabel() const
{
    return ui->powerLabel;
}

QLabel *PartialopmWave::powerLabel2() const
{
    return ui->powerLabel_2;
}

QWidget *PartialopmWave::stateWidget() const
{
    return ui->stateWidget;
}

QWidget *PartialopmWave::stateWidget2() const
{
    return ui->stateWidget_2;
}

QWidget *PartialopmWave::backgroundWidget() const
{
    return ui->backgroundWidget;
}
