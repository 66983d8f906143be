#pragma once
// Breaks a blocking call on the team server's connection from another
// thread. libpq waits for an answer as long as the socket stays open; a
// server process that is stopped (or a host whose kernel still acknowledges
// while its database hangs) never answers and never closes it. Shutting the
// socket down wakes the waiting call at once with a connection error; the
// sync then counts nothing of that transaction as sent (should the server
// have committed it after all, it skips those rows when they come again).
//
// The sync's worker tells the guard which connection it uses and when a
// call begins and ends; the guard breaks a call that has run past its limit
// (its own thread keeps the time) and, once stop() was called from whatever
// thread, the call in flight and every later one.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class QSqlDatabase;

class ServerGuard
{
public:
    ServerGuard();
    ~ServerGuard();
    ServerGuard(const ServerGuard &) = delete;
    ServerGuard &operator=(const ServerGuard &) = delete;

    // The socket of an open PostgreSQL connection (Qt's QPSQL driver); -1
    // when there is none or it cannot be told.
    static int socketOf(const QSqlDatabase &db);

    // The open connection whose calls are guarded, until unwatch(), which
    // must come before the connection is closed (its socket number is free
    // for reuse afterwards).
    void watch(int socket);
    void unwatch();

    // A call (or a short run of calls) on the connection begins: broken if it
    // is not over within limitMs.
    void begin(int limitMs);
    void end();
    // Whether the last call was broken for running past its limit.
    bool expired() const { return timedOut.load(); }

    // From any thread: breaks the call in flight and every later one.
    void stop();
    bool stopping() const { return stopped.load(); }

    // Scoped begin() and end().
    class Call
    {
    public:
        Call(ServerGuard &guard, int limitMs) : guard(guard) { guard.begin(limitMs); }
        ~Call() { guard.end(); }
        Call(const Call &) = delete;
        Call &operator=(const Call &) = delete;

    private:
        ServerGuard &guard;
    };

private:
    using Clock = std::chrono::steady_clock;

    void keepTime();
    // With `lock` held.
    void breakCall();

    mutable std::mutex lock;
    std::condition_variable changed;
    int socket = -1;
    bool inCall = false;
    bool quitting = false;
    Clock::time_point deadline;
    std::atomic<bool> stopped{false};
    std::atomic<bool> timedOut{false};
    std::thread timekeeper;
};
