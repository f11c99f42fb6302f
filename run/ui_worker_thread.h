#pragma once

#include "field/locked_list.h"
#include "run/worker_thread.h"

#include <atomic>
#include <cstdint>

// A worker that also keeps a progress counter and switches window controls
// on and off with its activity.
class CUiWorkerThread : public CWorkerThread
{
public:
    // Anything the worker should delete when it goes away.
    class COwnedObject
    {
    public:
        virtual ~COwnedObject() = default;
    };

    CUiWorkerThread() = default;
    ~CUiWorkerThread() override;

    void Run() override;
    // Enables the registered controls that match the current activity.
    virtual void UpdateControls();

    void EnableWhileActive(int32_t nControlId);
    void EnableWhileIdle(int32_t nControlId);
    void Own(COwnedObject* pObject) { m_ownedObjects.Append(pObject); }

    int32_t GetProgress() const { return m_nProgress.load(); }

protected:
    std::atomic<int32_t> m_nProgress{0};

private:
    void EnableControls(const CLockedList<int32_t>& ids, bool bEnable);

    CLockedList<COwnedObject> m_ownedObjects;
    CLockedList<int32_t> m_idsEnabledWhileActive;
    CLockedList<int32_t> m_idsEnabledWhileIdle;
};
