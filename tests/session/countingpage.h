#pragma once

// A record store that only counts what it was given: the session tests'
// stand-in for a record page.

#include "domain/baseformlogic.h"
#include "link/frame.h"

class CountingPage : public BaseFormLogic
{
public:
    CountingPage() { createFrame(); }
    int currentPage() override { return 0; }
    void setCurrentPage(int) override {}
    Frame *frame() override { return ownedFrame; }
    int nextItemNumber() override { return stored + 1; }
    void fillDatas() override
    {
        ++stored;
        renewFrame();
    }
    void gotoPage(int) override {}
    void createFrame() override { ownedFrame = new Frame; }
    void clearDatas() override { stored = 0; }
    int itemCount() const override { return stored; }
    int stored = 0;
};
