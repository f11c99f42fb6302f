#include "run/question_loader.h"

#include <system_error>
#include <utility>

CQuestionLoader::~CQuestionLoader()
{
    Cancel();
}

bool CQuestionLoader::Start(const std::string& strPath, int32_t nCount)
{
    Cancel();
    m_strPath = strPath;
    m_nCount = nCount;
    m_bCancel.store(false);
    m_bDone.store(false);
    m_error = nullptr;
    try {
        m_thread = std::thread(&CQuestionLoader::Run, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CQuestionLoader::Run()
{
    try {
        m_loaded.LoadFile(m_strPath, m_nCount, &m_bCancel);
    } catch (...) {
        m_error = std::current_exception();
    }
    m_bDone.store(true);
}

void CQuestionLoader::Finish(CQuestionSet& set)
{
    m_thread.join();
    if (m_error)
        std::rethrow_exception(std::exchange(m_error, nullptr));
    set.ReplaceAll(m_loaded);
}

void CQuestionLoader::Cancel()
{
    RequestCancel();
    if (m_thread.joinable())
        m_thread.join();
    m_loaded.RemoveAll();
    m_error = nullptr;
}
