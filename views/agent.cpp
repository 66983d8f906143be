#include "views/agent.h"

Agent::Agent(QObject *parent)
    : QObject(parent)
{
}

Agent::~Agent() = default;
