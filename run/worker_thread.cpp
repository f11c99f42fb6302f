#include "run/worker_thread.h"

#include "platform/sleep.h"
#include "platform/string_table.h"

#include <system_error>
#include <utility>

CWorkerThread::CWorkerThread()
{
    ResetState();
}

CWorkerThread::~CWorkerThread()
{
    // A derived class must have stopped the thread already: its Run must not
    // outlive its object. This is the last line of defence.
    StopAndJoin();
}

void CWorkerThread::Checkpoint()
{
    // The worker has no message queue of its own, so there is nothing to pump.
    {
        std::unique_lock<std::mutex> lock(m_csWait);
        m_cvWait.wait(lock, [this] {
            return m_bStopRequested.load() || (!m_bPaused.load() && !m_bWaitingForMessage.load());
        });
    }
    if (m_bStopRequested.load())
        Cancel();
}

bool CWorkerThread::Wait(int32_t nMilliseconds)
{
    std::unique_lock<std::mutex> lock(m_csWait);
    const auto bStopped = [this] { return m_bStopRequested.load() != 0; };
    const auto bResumed = [this] { return m_bStopRequested.load() || !m_bPaused.load(); };
    const auto bInterrupted = [this] { return m_bStopRequested.load() || m_bPaused.load(); };
    // Paused time does not count: the wait holds, also right after its time
    // ran out, and then sleeps what was left.
    int32_t nLeft = nMilliseconds;
    for (bool bSlept = false;; bSlept = true) {
        m_cvWait.wait(lock, bResumed);
        if (bStopped())
            return false;
        if (bSlept && nLeft <= 0)
            return true;
        nLeft = SleepUnlessWoken(lock, m_cvWait, nLeft, bInterrupted);
    }
}

void CWorkerThread::SetWakingFlag(std::atomic<int32_t>& bFlag, bool bValue)
{
    {
        std::lock_guard<std::mutex> lock(m_csWait);
        bFlag.store(bValue ? 1 : 0);
    }
    m_cvWait.notify_all();
}

void CWorkerThread::SetPaused(bool bPaused)
{
    SetWakingFlag(m_bPaused, bPaused);
}

void CWorkerThread::Cancel()
{
    OnStop();
    m_bStopRequested.store(0);
    throw -1;
}

void CWorkerThread::OnWaitBegin() {}

void CWorkerThread::OnStop() {}

void CWorkerThread::OnStarting() {}

void CWorkerThread::OnStartFailed() {}

void CWorkerThread::SetStatusText(int32_t nStringId)
{
    SetStatusText(LoadStringResource(nStringId));
}

void CWorkerThread::SetStatusText(std::string strText)
{
    std::lock_guard<std::mutex> lock(m_csStatus);
    m_strStatus = std::move(strText);
}

std::string CWorkerThread::GetStatusText() const
{
    std::lock_guard<std::mutex> lock(m_csStatus);
    return m_strStatus;
}

void CWorkerThread::ShowMessage(int32_t nStringId)
{
    ShowMessage(LoadStringResource(nStringId));
}

void CWorkerThread::ShowMessage(std::string strText)
{
    {
        std::lock_guard<std::mutex> lock(m_csMessage);
        m_strMessage = std::move(strText);
    }
    // Only ResetState lowers the flag: the worker waits here until stopped.
    SetWakingFlag(m_bWaitingForMessage, true);
    OnWaitBegin();
    Checkpoint();
}

std::string CWorkerThread::GetMessageText() const
{
    std::lock_guard<std::mutex> lock(m_csMessage);
    return m_strMessage;
}

void CWorkerThread::ResetState()
{
    m_bPaused.store(0);
    m_bActive.store(0);
    m_bStopRequested.store(0);
    m_bWaitingForMessage.store(0);
    SetStatusText(std::string());
    std::lock_guard<std::mutex> lock(m_csMessage);
    m_strMessage.clear();
}

int32_t CWorkerThread::Start()
{
    // A stopped run ends at its next wait or checkpoint, moments away; one
    // that ends by itself has already left its loop.
    StopAndJoin();
    // From here to the new thread nothing else touches the run's state: a
    // stop or mode change made now belongs to the new run.
    ResetState();
    OnStarting();
    // Active from here, not from the thread's first line, so that IsActive
    // tells right away that a run is on.
    m_bActive.store(1);
    try {
        m_thread = BeginThread();
    } catch (const std::system_error&) {
        m_bActive.store(0);
        OnStartFailed();
        return -1;
    }
    return 0;
}

std::thread CWorkerThread::BeginThread()
{
    return std::thread(&CWorkerThread::ThreadProc, this);
}

int32_t CWorkerThread::RequestStop()
{
    SetWakingFlag(m_bStopRequested, true);
    return 0;
}

void CWorkerThread::StopAndJoin()
{
    RequestStop();
    if (m_thread.joinable())
        m_thread.join();
}

int32_t CWorkerThread::ThreadProc(CWorkerThread* pWorker)
{
    try {
        pWorker->Run();
    } catch (...) {
        // Cancellation, or anything else leaving the run: the thread ends
        // quietly either way.
    }
    pWorker->m_bActive.store(0);
    return 0;
}
