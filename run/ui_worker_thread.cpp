#include "run/ui_worker_thread.h"

CUiWorkerThread::~CUiWorkerThread()
{
    m_ownedObjects.RemoveAll();
    m_idsEnabledWhileActive.RemoveAll();
    m_idsEnabledWhileIdle.RemoveAll();
}

void CUiWorkerThread::Run() {}

void CUiWorkerThread::EnableWhileActive(int32_t nControlId)
{
    *m_idsEnabledWhileActive.AddNew() = nControlId;
}

void CUiWorkerThread::EnableWhileIdle(int32_t nControlId)
{
    *m_idsEnabledWhileIdle.AddNew() = nControlId;
}

void CUiWorkerThread::UpdateControls()
{
    const bool bActive = m_bActive.load() == 1;
    EnableControls(m_idsEnabledWhileActive, bActive);
    EnableControls(m_idsEnabledWhileIdle, !bActive);
}

void CUiWorkerThread::EnableControls(const CLockedList<int32_t>& ids, bool bEnable)
{
    COwnerWindow* pOwner = GetOwner();
    if (!pOwner)
        return;
    for (int32_t i = 0; i < ids.GetCount(); ++i) {
        int32_t nId = 0;
        if (ids.VisitAt(i, [&nId](const int32_t& id) { nId = id; }))
            pOwner->EnableControl(nId, bEnable); // a missing control is skipped
    }
}
