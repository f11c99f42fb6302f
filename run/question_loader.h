#pragma once

#include "quiz/question_set.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <string>
#include <thread>

// Loads a question file on a thread of its own, so that the window goes on
// answering while a large file is read; the questions are taken over on the
// window's thread. One load at a time: a new one gives up the last, and the
// destructor gives up the load in flight and waits for its thread. Every
// call belongs to the one thread that owns the loader.
class CQuestionLoader
{
public:
    CQuestionLoader() = default;
    ~CQuestionLoader();
    CQuestionLoader(const CQuestionLoader&) = delete;
    CQuestionLoader& operator=(const CQuestionLoader&) = delete;

    // Gives up the load in flight, then begins loading the first nCount
    // lines of the file. False when the system would not start a thread.
    bool Start(const std::string& strPath, int32_t nCount);
    // Whether a load has begun that Finish has not taken yet.
    bool IsBusy() const { return m_thread.joinable(); }
    // Whether that load has ended.
    bool IsDone() const { return IsBusy() && m_bDone.load(); }
    // Takes the ended load: its questions replace those of set in one step,
    // or what refused the file is thrown.
    void Finish(CQuestionSet& set);
    // Asks the load in flight to end soon; Cancel also waits for it.
    void RequestCancel() { m_bCancel.store(true); }
    void Cancel();
    const std::string& GetPath() const { return m_strPath; }

private:
    void Run();

    // Written only while no thread runs.
    std::string m_strPath;
    int32_t m_nCount = 0;
    std::atomic<bool> m_bCancel{false};
    // The thread's until it has ended.
    CQuestionSet m_loaded;
    std::exception_ptr m_error;
    std::atomic<bool> m_bDone{false};
    std::thread m_thread;
};
