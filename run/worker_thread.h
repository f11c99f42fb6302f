#pragma once

#include "platform/owner_window.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

// A reusable worker thread with cooperative cancellation: Run is the body,
// and at each Checkpoint a pending stop request leaves it by throwing.
//
// One worker at a time per object. A Start while the previous run is still
// winding down is remembered and begins as soon as that run has ended, so
// the window never waits for the worker. Destruction stops and joins.
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

    int32_t Start();
    int32_t RequestStop();
    void ResetState();
    // Requests a stop and waits for the thread to end. For shutdown only.
    void StopAndJoin();

    std::string GetStatusText() const;
    std::string GetMessageText() const;
    void SetOwner(COwnerWindow* pOwner) { m_pOwner.store(pOwner); }
    COwnerWindow* GetOwner() const { return m_pOwner.load(); }

    bool IsActive() const { return m_bActive.load() != 0; }
    // Active, or a Start is waiting for the previous run to end.
    bool IsBusy() const;
    void SetPaused(bool bPaused);

    static int32_t ThreadProc(CWorkerThread* pWorker);

protected:
    // The run's one way to wait: nMilliseconds through the platform sleep,
    // cut short at once by a stop request, standing still while paused.
    // False when it was cut short.
    bool Wait(int32_t nMilliseconds);

    // Called on the worker thread before a run that was started while the
    // previous one was still ending.
    virtual void OnDeferredStart();

    std::atomic<int32_t> m_bPaused{0};
    std::atomic<int32_t> m_bStopRequested{0};
    std::atomic<int32_t> m_bActive{0};
    std::atomic<int32_t> m_bWaitingForMessage{0};

private:
    [[noreturn]] void Cancel();
    // Raises or lowers a flag that a waiting worker must see at once.
    void SetWakingFlag(std::atomic<int32_t>& bFlag, bool bValue);

    // Guards the thread object and the deferred start; held only briefly.
    mutable std::mutex m_csThread;
    std::thread m_thread;
    bool m_bStartPending = false;

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
