#pragma once

#include "run/owner_window.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

// A reusable worker thread with cooperative cancellation: Run is the body,
// and at each Checkpoint a pending stop request leaves it by throwing.
//
// One worker at a time per object. Every wait of a run ends at once on a
// stop request, so a run ends within moments of it: Start stops and joins
// the previous run before it begins the next, and destruction stops and
// joins. Start and StopAndJoin belong to the one thread that owns the
// worker (the window's), so that nothing holds a lock while it joins.
class CWorkerThread
{
public:
    CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;
    virtual ~CWorkerThread();

    // Holds while paused or waiting for a message; cancels on a stop request.
    virtual void Checkpoint();
    virtual void Run() = 0;
    virtual void OnWaitBegin();
    virtual void OnStop();
    virtual void SetStatusText(int32_t nStringId);
    virtual void SetStatusText(std::string strText);
    virtual void ShowMessage(int32_t nStringId);
    virtual void ShowMessage(std::string strText);

    // Ends the previous run, if any, then begins a new one. 0, or -1 when
    // the system would not start a thread.
    int32_t Start();
    int32_t RequestStop();
    void ResetState();
    // Requests a stop and waits for the thread to end.
    void StopAndJoin();

    std::string GetStatusText() const;
    std::string GetMessageText() const;
    void SetOwner(COwnerWindow* pOwner) { m_pOwner.store(pOwner); }
    COwnerWindow* GetOwner() const { return m_pOwner.load(); }

    bool IsActive() const { return m_bActive.load() != 0; }
    bool IsStopRequested() const { return m_bStopRequested.load() != 0; }
    void SetPaused(bool bPaused);

    static int32_t ThreadProc(CWorkerThread* pWorker);

protected:
    // The run's one way to wait: nMilliseconds through the platform sleep,
    // cut short at once by a stop request, standing still while paused.
    // False when it was cut short.
    bool Wait(int32_t nMilliseconds);

    // Called by Start on the calling thread once no run is left, right
    // before the new thread begins; and instead of the run when the thread
    // could not begin.
    virtual void OnStarting();
    virtual void OnStartFailed();
    // Begins the thread that runs ThreadProc; throws std::system_error when
    // the system refuses.
    virtual std::thread BeginThread();

    std::atomic<int32_t> m_bPaused{0};
    std::atomic<int32_t> m_bStopRequested{0};
    std::atomic<int32_t> m_bActive{0};
    std::atomic<int32_t> m_bWaitingForMessage{0};

private:
    [[noreturn]] void Cancel();
    // Raises or lowers a flag that a waiting worker must see at once.
    void SetWakingFlag(std::atomic<int32_t>& bFlag, bool bValue);

    // Touched only by the owning thread.
    std::thread m_thread;

    // Every wait of the worker sleeps on this; raising the stop request,
    // pausing and resuming notify it under the mutex.
    std::mutex m_csWait;
    std::condition_variable m_cvWait;

    mutable std::mutex m_csStatus;
    std::string m_strStatus;
    mutable std::mutex m_csMessage;
    std::string m_strMessage;
    std::atomic<COwnerWindow*> m_pOwner{nullptr};
};
