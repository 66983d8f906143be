#include "history/serverguard.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>
#include <dlfcn.h>
#include <sys/socket.h>

namespace {

// PQsocket() of the libpq that Qt's PostgreSQL plugin has loaded: looked up
// in the process rather than linked, so that Lumisk needs libpq only where
// the plugin (and with it a team server) is installed.
using SocketOfConnection = int (*)(const void *connection);

SocketOfConnection pqSocket()
{
    static const SocketOfConnection function = []() -> SocketOfConnection {
        void *library = dlopen("libpq.so.5", RTLD_LAZY | RTLD_NOLOAD);
        return library ? reinterpret_cast<SocketOfConnection>(dlsym(library, "PQsocket")) : nullptr;
    }();
    return function;
}

} // namespace

ServerGuard::ServerGuard() : timekeeper([this]() { keepTime(); }) {}

ServerGuard::~ServerGuard()
{
    {
        std::lock_guard<std::mutex> hold(lock);
        quitting = true;
    }
    changed.notify_all();
    timekeeper.join();
}

int ServerGuard::socketOf(const QSqlDatabase &db)
{
    if (!db.isOpen() || !db.driver())
        return -1;
    // The driver hands out its PGconn* (see QSqlDriver::handle()).
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "PGconn*") != 0)
        return -1;
    const void *connection = *static_cast<void *const *>(handle.constData());
    const SocketOfConnection socketOfConnection = pqSocket();
    return connection && socketOfConnection ? socketOfConnection(connection) : -1;
}

void ServerGuard::watch(int fd)
{
    std::lock_guard<std::mutex> hold(lock);
    socket = fd;
    if (stopped.load())
        breakCall();
}

void ServerGuard::unwatch()
{
    std::lock_guard<std::mutex> hold(lock);
    socket = -1;
}

void ServerGuard::begin(int limitMs)
{
    {
        std::lock_guard<std::mutex> hold(lock);
        inCall = true;
        timedOut = false;
        deadline = Clock::now() + std::chrono::milliseconds(limitMs);
        if (stopped.load())
            breakCall();
    }
    changed.notify_all();
}

void ServerGuard::end()
{
    {
        std::lock_guard<std::mutex> hold(lock);
        inCall = false;
    }
    changed.notify_all();
}

void ServerGuard::stop()
{
    std::lock_guard<std::mutex> hold(lock);
    stopped = true;
    // Between calls the worker closes the connection itself, politely.
    if (inCall)
        breakCall();
}

void ServerGuard::breakCall()
{
    // The socket stays open (its number is not freed for another file);
    // libpq sees the connection end and the worker closes it.
    if (socket >= 0)
        ::shutdown(socket, SHUT_RDWR);
}

void ServerGuard::keepTime()
{
    std::unique_lock<std::mutex> hold(lock);
    while (!quitting) {
        if (!inCall) {
            changed.wait(hold);
            continue;
        }
        if (Clock::now() < deadline) {
            changed.wait_until(hold, deadline);
            continue;
        }
        timedOut = true;
        breakCall();
        inCall = false;
    }
}
