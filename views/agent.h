#pragma once
// The signalling half of the record store: Items<T> is a template and cannot
// carry its own meta-object, so it announces its page count through this base.

#include <QObject>

class Agent : public QObject
{
    Q_OBJECT
public:
    explicit Agent(QObject *parent = nullptr);
    ~Agent() override;

signals:
    void pageCountChanged(int pageCount);
};
