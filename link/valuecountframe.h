#pragma once

#include "frame.h"

// Answer to a record-count request: the payload is one big-endian number.
class ValueCountFrame : public Frame
{
    Q_OBJECT
public:
    explicit ValueCountFrame(QObject *parent = nullptr);

    // Stores the flag and empties the frame for the next request.
    void setCountReady(bool ready);
    void parseData() override;

    int count = 0;
    bool countReady = false;

protected:
    void clearDecoded() override;
};
